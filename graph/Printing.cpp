#include <QDateTime>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "app/frmMain.h"
#include "graph/GraphPage.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/PictureBox.h"

void frmMain::mnuFilePrint_Click() {
    // Cancel and any failure of the dialog or the printer end the command
    // silently, with nothing changed.
    try {
        QPrinter printer(QPrinter::HighResolution);
        // A fresh printer each time: landscape is preselected whatever the
        // user chose the time before.
        printer.setPageOrientation(QPageLayout::Landscape);
        QPrintDialog dialog(&printer, this);
        dialog.setMinMax(1, 1);
        if (dialog.exec() != QDialog::Accepted) return;
        PrintGraph(printer);
    } catch (...) {
    }
}

// The range as the graph labels it, the points its traces show, and the band
// list's row, which need not be what the analyzer swept.
QString frmMain::PrintTitle() const {
    return GraphTitle(m_graph->FirstLabel(), m_graph->LastLabel(), m_pointsTraced,
                      QDateTime::currentDateTime(), MnComboFScale->Text().trimmed());
}

void frmMain::PrintGraph(QPrinter& printer) {
    // The printout is a single page; a range that leaves it out prints nothing.
    if (printer.printRange() == QPrinter::PageRange &&
        (printer.fromPage() > 1 || printer.toPage() < 1))
        return;
    // Where the printer cannot make copies itself, each copy is a page of its own.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    QPainter painter;
    if (!painter.begin(&printer)) return;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    std::vector<PageStrip> strips;
    for (PictureBox* box : {picSWR, grphSWRDisplay, picRes, picFreq})
        strips.push_back({box, QRectF(box->geometry())});
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0) printer.newPage();
        PaintGraphPage(painter, QRectF(QPointF(0, 0), page.size()), PrintTitle(), QuantityLegend(),
                       strips, font());
    }
    painter.end();
}
