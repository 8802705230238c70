#include <algorithm>

#include "app/frmMain.h"
#include "graph/GraphGeometry.h"
#include "platform/ComboBox.h"
#include "platform/PictureBox.h"

void frmMain::PlotTraces() {
    grphSWRDisplay->SetDrawWidth(2);
    const std::int16_t last = NumPoints;
    // With one point there is no spacing; it is drawn as a dot at the left edge.
    const double dx = last > 0 ? GraphGeometry::pointPitch(grphSWRDisplay->Width(), last) : 0.0;
    const int shown = MnComboDisplay->ListIndex();
    std::uint32_t c = 0xFF0000;  // red, then green, then blue
    for (std::size_t k = 0; k < kQuantities.size(); ++k) {
        const QColor colour((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
        c >>= 8;
        if (shown != 0 && shown != int(k) + 1) continue;
        const int column = kQuantities[k].column;
        const double scale = grphSWRDisplay->Height() / ScaleMax[k];
        double x = GraphGeometry::pointX(OriginX, dx, 0);
        grphSWRDisplay->SetCurrentX(x);
        grphSWRDisplay->SetCurrentY(OriginY - Scan_Data(0, column) * scale);
        if (last == 0) grphSWRDisplay->LineTo(x, grphSWRDisplay->CurrentY(), colour);
        for (int i = 1; i <= last; ++i) {
            x += dx;
            grphSWRDisplay->LineTo(x, OriginY - Scan_Data(i, column) * scale, colour);
        }
    }
    grphSWRDisplay->SetDrawWidth(1);
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
