#include <QDateTime>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

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

QString frmMain::PrintTitle() const {
    const auto mhz = [](double f) {
        return NumberRules::formatPattern(f / GraphGeometry::kFrequencyDivisor, u"#0.000");
    };
    return QStringLiteral("%1   %2 - %3 MHz   %4")
        .arg(MnComboFScale->Text().trimmed(), mhz(Scan_Start.Number()), mhz(Scan_End.Number()),
             QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")));
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
        PaintGraphPage(painter, QRectF(QPointF(0, 0), page.size()), PrintTitle(),
                       {picSWR, grphSWRDisplay, picRes, picFreq});
    }
    painter.end();
}
