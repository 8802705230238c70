#include <algorithm>

#include "app/frmMain.h"
#include "platform/widgets/ComboBox.h"

void frmMain::PlotTraces() {
    // The display list's row 0 shows every trace, row k + 1 trace k alone.
    const int shown = MnComboDisplay->ListIndex();
    std::vector<TraceStyle> traces;
    for (std::size_t k = 0; k < kQuantities.size(); ++k) {
        if (shown == 0 || shown == int(k) + 1)
            traces.push_back({Quantity(k), QColor::fromRgb(kQuantities[k].colour)});
    }
    const std::int16_t last = NumPoints;
    m_graph->PlotTraces(
        Axes(), last,
        [this](int i, Quantity quantity) { return Scan_Data(i, InfoOf(quantity).column); }, traces);
    m_pointsTraced = std::max(0, last + 1);
}

void frmMain::RedrawGraph() {
    DrawGraphFrame();
    PlotTraces();
}

void frmMain::MnComboDisplay_Click() { RedrawGraph(); }

void frmMain::FillSampleData() {
    const std::int16_t last = NumPoints;
    for (int i = 0; i <= last; ++i) {
        Scan_Data.Set(i, InfoOf(Quantity::Swr).column, i / 2.0 + 1);
        Scan_Data.Set(i, InfoOf(Quantity::Resistance).column, 5);
        Scan_Data.Set(i, InfoOf(Quantity::Reactance).column, (last - i) / 2.0 + 1);
    }
}
