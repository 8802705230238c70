#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include "FormFixture.h"
#include "graph/GraphPrintout.h"
#include "platform/ComboBox.h"
#include "platform/PictureBox.h"

namespace {

bool hasColour(const QImage& image, QColor colour, int tolerance = 40) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <=
                tolerance) {
                return true;
            }
        }
    }
    return false;
}

// Pages of a PDF as images, through poppler's pdftoppm.
QList<QImage> pdfPages(const QString& pdf, const QTemporaryDir& dir) {
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-r"), QStringLiteral("60"), QStringLiteral("-png"), pdf,
                       dir.filePath(QStringLiteral("page"))});
    QList<QImage> pages;
    for (const QString& name :
         QDir(dir.path()).entryList({QStringLiteral("page*.png")}, QDir::Files, QDir::Name)) {
        pages << QImage(dir.filePath(name)).convertToFormat(QImage::Format_RGB32);
    }
    return pages;
}

}  // namespace

TEST(Print, PageShowsGridTracesAndLabels) {
    LoadedForm form;
    form->MnComboDisplay->SetListIndex(0);
    QImage page(1650, 1275, QImage::Format_RGB32);  // a landscape letter page at 150 dpi
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        PaintGraphPage(painter, page.rect(), form->PrintTitle(),
                       {form->picSWR, form->grphSWRDisplay, form->picRes, form->picFreq});
    }
    EXPECT_TRUE(hasColour(page, Qt::red, 0));
    EXPECT_TRUE(hasColour(page, QColor(0, 255, 0), 0));
    EXPECT_TRUE(hasColour(page, Qt::blue, 0));
    EXPECT_TRUE(hasColour(page, QColor(150, 150, 150), 0));
    EXPECT_TRUE(hasColour(page, QColor(249, 239, 107), 0));  // the scale strips
    EXPECT_TRUE(form->PrintTitle().startsWith(QStringLiteral("1-10MHz   1.000 - 10.000 MHz")));
}

TEST(Print, PdfThroughThePrinterHonoursCopiesAndRange) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed: no way to look at the PDF";
    LoadedForm form;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("graph.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setCopyCount(2);
        form->PrintGraph(printer);
    }
    const QList<QImage> pages = pdfPages(pdf, dir);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_GT(pages[0].width(), pages[0].height());  // landscape
    EXPECT_TRUE(hasColour(pages[0], Qt::red));
    EXPECT_TRUE(hasColour(pages[0], QColor(0, 255, 0)));
    EXPECT_TRUE(hasColour(pages[0], Qt::blue));
    EXPECT_TRUE(hasColour(pages[0], QColor(249, 239, 107)));

    const QString none = dir.filePath(QStringLiteral("none.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(none);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 3);
    form->PrintGraph(printer);
    EXPECT_FALSE(QFile::exists(none));
}

TEST(Print, DialogOpensInLandscapeEveryTimeAndCancelChangesNothing) {
    LoadedForm form;
    QList<QPageLayout::Orientation> seen;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            seen << dialog->printer()->pageLayout().orientation();
            dialog->printer()->setPageOrientation(QPageLayout::Portrait);  // the user's choice
            dialog->reject();
        }
    });
    timer.start(5);
    const QImage before = form->grphSWRDisplay->Image().copy();
    form->mnuFilePrint->trigger();
    form->mnuFilePrint->trigger();
    EXPECT_EQ(seen,
              (QList<QPageLayout::Orientation>{QPageLayout::Landscape, QPageLayout::Landscape}));
    EXPECT_EQ(form->grphSWRDisplay->Image(), before);
}
