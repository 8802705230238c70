#include "app/frmMain.h"
#include "graph/GraphGeometry.h"
#include "platform/NumberRules.h"
#include "platform/PictureBox.h"

using NumberRules::roundToInt16;

void frmMain::DrawGraphFrame() {
    grphSWRDisplay->Cls();
    m_pointsTraced = 0;
    DrawGrid();
    DrawFreqScale();
}

void frmMain::DrawGrid() {
    picRes->Cls();
    iResLabel = *roundToInt16(ScaleMax[1] / ScaleMax[0]);
    const double width = grphSWRDisplay->Width();
    const double height = grphSWRDisplay->Height();
    for (const auto& row : GraphGeometry::gridRows(height, OriginY, StartYVal, ScaleMax[0])) {
        grphSWRDisplay->Line(0, row.y, width, row.y, GraphGeometry::kGridColour);
        grphSWRDisplay->SetCurrentX(GraphGeometry::kSwrLabelIndent);
        grphSWRDisplay->SetCurrentY(row.y);
        grphSWRDisplay->Print(row.swrLabel);
        PrintResLabel(std::int16_t(row.y));
    }
    for (std::int32_t x : GraphGeometry::gridColumns(width, OriginX)) {
        grphSWRDisplay->Line(x, 0, x, height, GraphGeometry::kGridColour);
    }
}

void frmMain::PrintResLabel(std::int16_t y) {
    const std::int16_t h = *roundToInt16(TextHeight(QStringLiteral("000")) / 2);
    picRes->SetCurrentX(0);
    picRes->SetCurrentY(y - h);
    picRes->Print(NumberRules::formatPattern(iResLabel, u"##0"));
    iResLabel = *roundToInt16(ScaleMax[1] / ScaleMax[0] + iResLabel);
}

void frmMain::DrawFreqScale() {
    const std::int16_t w = *roundToInt16(TextWidth(QStringLiteral("00.000")) / 2);
    const std::int16_t h = *roundToInt16(TextHeight(QStringLiteral("00.000")) / 2);
    picFreq->Cls();
    const auto labels = GraphGeometry::frequencyLabels(grphSWRDisplay->Width(), OriginX,
                                                       Scan_Start.Number(), Scan_End.Number());
    for (const auto& label : labels) {
        picFreq->SetCurrentX(label.x - w);
        picFreq->SetCurrentY(h);
        picFreq->Print(label.text);
    }
    m_scaleFrom = labels.empty() ? QString() : labels.front().text;
    m_scaleTo = labels.empty() ? QString() : labels.back().text;
}
