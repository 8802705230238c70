#include "app/frmMain.h"
#include "graph/CursorReadout.h"
#include "graph/GraphGeometry.h"
#include "platform/widgets/PictureBox.h"

void frmMain::OptCursor_Click(std::int16_t Index) { graphCursor = Index; }

void frmMain::grphSWRDisplay_MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y) {
    Q_UNUSED(Button);
    Q_UNUSED(Shift);
    Q_UNUSED(Y);
    // With fewer than two points there is no spacing to place them by.
    if (NumPoints < 1) {
        grphSWRDisplay->SetToolTipText(QString());
        return;
    }
    const double pitch = GraphGeometry::pointPitch(grphSWRDisplay->Width(), NumPoints);
    const auto n = CursorReadout::nearestPoint(X, GraphGeometry::pointX(OriginX, pitch, 0), pitch);
    if (!n || *n < 0 || *n > iMaxValues) {
        grphSWRDisplay->SetToolTipText(QString());
        return;
    }
    const double f =
        GraphGeometry::pointFrequency(Scan_Start.Number(), Scan_End.Number(), NumPoints, *n);
    const int column = kQuantities[std::size_t(graphCursor)].column;
    grphSWRDisplay->SetToolTipText(CursorReadout::readoutText(Scan_Data(*n, column), f));
}
