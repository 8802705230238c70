#include <QDateTime>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "app/Quantities.h"
#include "app/frmMain.h"
#include "graph/GraphGeometry.h"
#include "graph/GraphPrintout.h"
#include "platform/ComboBox.h"
#include "platform/NumberRules.h"

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

// What was measured and when: the range as the graph labels it, the points
// its traces show, and the band list's row, which need not be what the
// analyzer swept.
QString frmMain::PrintTitle() const {
    const QString points = m_pointsTraced == 0   ? QStringLiteral("no points")
                           : m_pointsTraced == 1 ? QStringLiteral("1 point")
                                                 : QStringLiteral("%1 points").arg(m_pointsTraced);
    return QStringLiteral("%1 - %2 MHz, %3, %4      band selected: %5")
        .arg(m_scaleFrom, m_scaleTo, points,
             QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
             MnComboFScale->Text().trimmed());
}

std::vector<LegendEntry> frmMain::PrintLegend() {
    std::vector<LegendEntry> legend;
    for (const QuantityInfo& q : kQuantities) {
        legend.push_back({QColor::fromRgb(q.colour),
                          QStringLiteral("%1 (%2)").arg(QString::fromLatin1(q.caption),
                                                        QString::fromLatin1(q.scale))});
    }
    return legend;
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
    for (int copy = 0; copy < copies; ++copy) {
        if (copy > 0) printer.newPage();
        PaintGraphPage(painter, QRectF(QPointF(0, 0), page.size()), PrintTitle(), PrintLegend(),
                       {picSWR, grphSWRDisplay, picRes, picFreq});
    }
    painter.end();
}
