#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDateTime>
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
#include "graph/GraphPage.h"
#include "platform/widgets/ComboBox.h"
#include "platform/widgets/PictureBox.h"

namespace {

// The smallest rectangle holding every pixel within `tolerance` (summed over
// the channels) of the colour.
QRect extentOf(const QImage& image, const QColor& colour, int tolerance = 0) {
    QRect extent;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <=
                tolerance)
                extent |= QRect(x, y, 1, 1);
        }
    }
    return extent;
}

bool hasColour(const QImage& image, QColor colour, int tolerance = 40) {
    return !extentOf(image, colour, tolerance).isNull();
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

QImage printedPage(LoadedForm& form) {
    QImage page(1650, 1275, QImage::Format_RGB32);  // a landscape letter page at 150 dpi
    page.fill(Qt::white);
    QPainter painter(&page);
    std::vector<PageStrip> strips;
    for (PictureBox* box :
         {form.ui.picSWR, form.ui.grphSWRDisplay, form.ui.picRes, form.ui.picFreq})
        strips.push_back({box, QRectF(box->geometry())});
    PaintGraphPage(painter, page.rect(), form->PrintTitle(), QuantityLegend(), strips,
                   form->font());
    return page;
}

}  // namespace

TEST(Print, PageShowsTheGraphCentredWithItsLegend) {
    LoadedForm form;
    const QImage page = printedPage(form);
    EXPECT_TRUE(hasColour(page, QColor(150, 150, 150), 0));
    // The light yellow strips frame the graph; together they sit in the
    // middle of the page.
    const QRect strips = extentOf(page, QColor(249, 239, 107));
    EXPECT_NEAR(strips.center().x(), page.rect().center().x(), 2);
    EXPECT_NEAR(strips.center().y(), page.rect().center().y(), 2);
    // Below them the legend shows each trace colour.
    const QImage legend =
        page.copy(0, strips.bottom() + 1, page.width(), page.height() - strips.bottom() - 1);
    for (const LegendEntry& entry : QuantityLegend())
        EXPECT_TRUE(hasColour(legend, entry.colour, 0)) << entry.text.toStdString();
    EXPECT_TRUE(hasColour(legend, Qt::black, 200));
}

// The title names what the graph shows, not what the band list says.
TEST(Print, TitleNamesTheRangeAsLabelledThePointsAndTheBand) {
    LoadedForm form;
    const auto expectTitle = [&](const char* start, const char* end) {
        const std::string title = form->PrintTitle().toStdString();
        EXPECT_THAT(title, ::testing::StartsWith(start));
        EXPECT_THAT(title, ::testing::EndsWith(end));
    };
    expectTitle("1.000 - 10.000 MHz, 11 points, 20", "band selected: 1-10MHz");
    // An analyzer that swept 14.0 to 14.35 MHz for the first row.
    form->Scan_Start = 140000.0;
    form->Scan_End = 143500.0;
    form.ui.MnComboDisplay->SetListIndex(0);
    expectTitle("14.000 - 14.350 MHz, 11 points, ", "band selected: 1-10MHz");
    // Choosing a band shows its empty frame.
    form.ui.MnComboFScale->SetListIndex(8);
    expectTitle("14.000 - 14.350 MHz, no points, ", "band selected: 20 Mtrs");
    const QString dateTime = form->PrintTitle().section(QStringLiteral(", "), 2, 2).left(16);
    EXPECT_TRUE(QDateTime::fromString(dateTime, QStringLiteral("yyyy-MM-dd HH:mm")).isValid())
        << dateTime.toStdString();
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
    for (const QColor ink :
         {QColor(Qt::red), QColor(0, 255, 0), QColor(Qt::blue), QColor(249, 239, 107)})
        EXPECT_TRUE(hasColour(pages[0], ink)) << ink.name().toStdString();

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
    const QImage before = form.ui.grphSWRDisplay->Image().copy();
    form.ui.mnuFilePrint->trigger();
    form.ui.mnuFilePrint->trigger();
    EXPECT_EQ(seen,
              (QList<QPageLayout::Orientation>{QPageLayout::Landscape, QPageLayout::Landscape}));
    EXPECT_EQ(form.ui.grphSWRDisplay->Image(), before);
}
