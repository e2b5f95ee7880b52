// Printing the orders report on a real print server: a CUPS server of the test's own with the
// cups-pdf queue "PDF", which writes each job as a PDF file.

#include "PdfText.h"
#include "PreviewDriver.h"
#include "PrintServer.h"
#include "ReportFixture.h"
#include "report/PrintProgress.h"

#include <QFile>

using namespace kavelon;
using namespace kavelon::report;
using namespace kavelon::test;

namespace {

// True when a text is b written in another alphabet letter for letter (same repeats, same places).
bool sameLetterPattern(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        for (qsizetype j = 0; j < a.size(); ++j)
            if ((a[i] == a[j]) != (b[i] == b[j]))
                return false;
    return true;
}

// The non-empty lines of each page, spaces folded.
std::vector<QStringList> pageLines(const QString& pdf) {
    std::vector<QStringList> lines;
    for (const QString& t : pdfPageTexts(pdf)) {
        QStringList nonEmpty;
        for (const QString& line : t.split(u'\n'))
            if (!line.trimmed().isEmpty())
                nonEmpty << line.simplified();
        lines.push_back(nonEmpty);
    }
    return lines;
}

} // namespace

TEST_F(ReportTest, PrintOnTheCupsPdfQueue) {
    PrintServer server;
    if (!server.whyNotReady().isEmpty())
        GTEST_SKIP() << server.whyNotReady().toStdString();

    addOrders(60);
    open();
    RecordingMessages seam;
    PrinterSetup preset;
    seam.onPrinterSetup = [&](PrinterSetup& setup) {
        preset = setup;
        setup.printer = QStringLiteral("PDF");
        return true;
    };
    QString progressTitle;
    QSize progressSize;
    bool onTop = false;
    QString firstPdf;
    drivePreview(*Report1, [&](PreviewWindow& w) {
        action(&w, "PrinterSetup")->trigger();
        EXPECT_EQ(shown(seam).value(0), QStringLiteral("printer setup 1-3"));
        // Preset with the server's printer and the report's settings.
        EXPECT_EQ(preset.printers, QStringList{QStringLiteral("PDF")});
        EXPECT_EQ(preset.printer, QStringLiteral("PDF"));
        EXPECT_FALSE(preset.landscape);
        EXPECT_EQ(preset.copies, 1);
        EXPECT_EQ(preset.fromPage, 0);
        EXPECT_EQ(Report1->printerSettings().printerName, QStringLiteral("PDF"));

        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* p = qobject_cast<PrintProgress*>(top); p && p->isVisible()) {
                    progressTitle = p->windowTitle();
                    progressSize = p->size();
                    onTop = p->windowFlags() & Qt::WindowStaysOnTopHint;
                }
        });
        watch.start(0);
        action(&w, "Print")->trigger();
        watch.stop();
        firstPdf = server.waitForPdf();

        // OK keeps orientation, copies and range for later runs; Cancel changes nothing.
        seam.onPrinterSetup = [](PrinterSetup& setup) {
            setup.landscape = true;
            setup.copies = 2;
            setup.fromPage = 2;
            setup.toPage = 3;
            return true;
        };
        action(&w, "PrinterSetup")->trigger();
        seam.onPrinterSetup = [&](PrinterSetup& setup) {
            preset = setup;
            setup.landscape = false;
            setup.copies = 5;
            return false;
        };
        action(&w, "PrinterSetup")->trigger();
        EXPECT_TRUE(preset.landscape);
        EXPECT_EQ(preset.copies, 2);
        EXPECT_EQ(preset.fromPage, 2);
        EXPECT_EQ(preset.toPage, 3);
        const PrinterSettings& kept = Report1->printerSettings();
        EXPECT_EQ(kept.orientation, Orientation::Landscape);
        EXPECT_EQ(kept.copies, 2);
        EXPECT_EQ(kept.fromPage, 2);
        EXPECT_EQ(kept.toPage, 3);
        EXPECT_EQ(kept.printerName, QStringLiteral("PDF"));
    });
    EXPECT_EQ(progressTitle, QStringLiteral("Printing progress"));
    EXPECT_EQ(progressSize, QSize(149, 97));
    EXPECT_TRUE(onTop);

    ASSERT_FALSE(firstPdf.isEmpty())
        << "no job arrived in " << server.output().path().toStdString();
    EXPECT_EQ(pdfPages(firstPdf), 3);
    EXPECT_EQ(pdfPageSize(firstPdf), QStringLiteral("595 x 842"));
    // cups-pdf re-distills the job through PostScript into Type 3 fonts whose text mapping is
    // lost, so the words do not read back; their layout does. Each page: the title, the captions
    // and its rows, one line each; the title's letters repeat as those of "Печать заказов" do.
    const std::vector<QStringList> lines = pageLines(firstPdf);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 27);
    EXPECT_EQ(lines[1].size(), 27);
    EXPECT_EQ(lines[2].size(), 12);
    for (const QStringList& page : lines) {
        EXPECT_EQ(page.value(0), lines[0].value(0));
        EXPECT_EQ(page.value(1), lines[0].value(1));
    }
    EXPECT_TRUE(sameLetterPattern(lines[0].value(0), QStringLiteral("Печать заказов")))
        << lines[0].value(0).toStdString();
    QFile::remove(firstPdf);

    // The kept settings on the next printout: pages 2 and 3 of the four landscape pages, two
    // copies of them, which the queue makes itself.
    Report1->Print();
    const QString second = server.waitForPdf();
    ASSERT_FALSE(second.isEmpty());
    EXPECT_EQ(pdfPages(second), 4);
    ASSERT_EQ(server.pageLog().size(), 2);
    EXPECT_EQ(server.pageLog().value(1).section(u' ', 1, 1), QStringLiteral("2")) // copies
        << server.pageLog().join(u'\n').toStdString();

    // And the next preview is landscape too.
    drivePreview(*Report1,
                 [&](PreviewWindow& w) { EXPECT_EQ(counter(&w), QStringLiteral("Page 1 of 4")); });
}
