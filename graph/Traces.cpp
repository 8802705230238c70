#include <algorithm>

#include "app/frmMain.h"
#include "graph/GraphGeometry.h"
#include "platform/ComboBox.h"
#include "platform/PictureBox.h"

void frmMain::PlotTraces() {
    grphSWRDisplay->SetDrawWidth(2);
    const std::int16_t last = NumPoints;
    // With one point there is no spacing; it is drawn as a dot at the left edge.
    const double dx =
        last > 0 ? (grphSWRDisplay->Width() - GraphGeometry::kLeftMargin) / last : 0.0;
    const int shown = MnComboDisplay->ListIndex();
    std::uint32_t c = 0xFF0000;  // red, then green, then blue
    for (int k = 0; k <= 2; ++k) {
        const QColor colour((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
        c >>= 8;
        if (shown != 0 && shown != k + 1) continue;
        const double scale = grphSWRDisplay->Height() / ScaleMax[std::size_t(k)];
        double x = OriginX + GraphGeometry::kLeftMargin;
        grphSWRDisplay->SetCurrentX(x);
        grphSWRDisplay->SetCurrentY(OriginY - Scan_Data(0, k) * scale);
        if (last == 0) grphSWRDisplay->LineTo(x, grphSWRDisplay->CurrentY(), colour);
        for (int i = 1; i <= last; ++i) {
            x += dx;
            grphSWRDisplay->LineTo(x, OriginY - Scan_Data(i, k) * scale, colour);
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
        Scan_Data.Set(i, 0, i / 2.0 + 1);
        Scan_Data.Set(i, 1, 5);
        Scan_Data.Set(i, 2, (last - i) / 2.0 + 1);
    }
}
