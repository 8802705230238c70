#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

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

}  // namespace

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

// Through the printer into a PDF: a landscape page per copy, each with the
// graph and its scales in the middle and the legend of the traces below; a
// page range that leaves out the one page prints nothing.
TEST(Print, PdfPagesShowTheGraphCentredWithItsLegend) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed: no way to look at the PDF";
    LoadedForm form;
    QTemporaryDir dir;
    const auto print = [&](const char* name, const std::function<void(QPrinter&)>& setUp) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QLatin1String(name)));
        printer.setPageOrientation(QPageLayout::Landscape);
        setUp(printer);
        form->PrintGraph(printer);
    };
    print("graph.pdf", [](QPrinter& printer) { printer.setCopyCount(2); });
    const QList<QImage> pages = pdfPages(dir.filePath(QStringLiteral("graph.pdf")), dir);
    ASSERT_EQ(pages.size(), 2);
    const QImage& page = pages[0];
    EXPECT_GT(page.width(), page.height());
    // The light yellow strips frame the graph; together they sit in the
    // middle of the page, and the traces and the grid are inside them.
    const QRect strips = extentOf(page, QColor(249, 239, 107), 40);
    EXPECT_NEAR(strips.center().x(), page.rect().center().x(), 2);
    EXPECT_NEAR(strips.center().y(), page.rect().center().y(), 2);
    const QImage graph = page.copy(strips);
    const QImage legend =
        page.copy(0, strips.bottom() + 1, page.width(), page.height() - strips.bottom() - 1);
    for (const LegendEntry& entry : QuantityLegend()) {
        EXPECT_TRUE(hasColour(graph, entry.colour)) << entry.text.toStdString();
        EXPECT_TRUE(hasColour(legend, entry.colour)) << entry.text.toStdString();
    }
    EXPECT_TRUE(hasColour(graph, QColor(150, 150, 150)));
    EXPECT_TRUE(hasColour(legend, Qt::black, 200));

    print("none.pdf", [](QPrinter& printer) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
    });
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none.pdf"))));
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
