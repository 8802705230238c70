#include "app/frmMain.h"

GraphAxes frmMain::Axes() const { return {OriginX, OriginY, StartYVal, ScaleMax}; }

void frmMain::DrawGraphFrame() {
    m_graph->DrawGraphFrame(Axes(), Scan_Start.Number(), Scan_End.Number());
    m_pointsTraced = 0;
}
