// Printing the orders report onto a PDF printer, and the page file from the preview.

#include "PdfText.h"
#include "PreviewDriver.h"
#include "ReportFixture.h"
#include "report/PageFile.h"

#include <QFile>
#include <QTemporaryDir>

using namespace kavelon;
using namespace kavelon::report;
using namespace kavelon::test;

namespace {

QString printToPdf(Report& report, const QString& file) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    report.printTo(printer);
    return file;
}

} // namespace

TEST_F(ReportTest, PrintingMakesA4PagesWithTitleCaptionsAndRows) {
    addOrders(60);
    open();
    QTemporaryDir dir;
    const QString pdf = printToPdf(*Report1, dir.filePath(QStringLiteral("all.pdf")));
    EXPECT_EQ(pdfPages(pdf), 3);
    EXPECT_EQ(pdfPageSize(pdf), QStringLiteral("595 x 842"));
    const QStringList texts = pdfPageTexts(pdf);
    ASSERT_EQ(texts.size(), 3);
    for (const QString& t : texts) {
        EXPECT_TRUE(t.contains(QStringLiteral("Печать заказов")));
        EXPECT_TRUE(t.contains(QStringLiteral("Транспортное ср-во")));
        EXPECT_TRUE(t.contains(QStringLiteral("Итого")));
    }
    EXPECT_TRUE(texts[0].contains(QStringLiteral("Клиент 25")));
    EXPECT_FALSE(texts[0].contains(QStringLiteral("Клиент 26")));
    EXPECT_TRUE(texts[1].contains(QStringLiteral("Клиент 26")));
    EXPECT_TRUE(texts[2].contains(QStringLiteral("Водитель 60")));
    EXPECT_TRUE(texts[2].contains(QStringLiteral("1060")));

    // A page range: the pages outside it are made but not sent.
    Report1->printerSettings().fromPage = 2;
    Report1->printerSettings().toPage = 2;
    const QString second = printToPdf(*Report1, dir.filePath(QStringLiteral("second.pdf")));
    EXPECT_EQ(pdfPages(second), 1);
    EXPECT_TRUE(pdfPageTexts(second).value(0).contains(QStringLiteral("Клиент 26")));

    // Landscape: 16 rows to a page, on a landscape sheet.
    Report1->printerSettings() = PrinterSettings{};
    Report1->printerSettings().orientation = Orientation::Landscape;
    const QString wide = printToPdf(*Report1, dir.filePath(QStringLiteral("wide.pdf")));
    EXPECT_EQ(pdfPages(wide), 4);
    EXPECT_EQ(pdfPageSize(wide), QStringLiteral("842 x 595"));
}

TEST_F(ReportTest, PreviewSavesAndLoadsThePageFile) {
    addOrders(40);
    open();
    RecordingMessages seam;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("журнал"));
    PageSet saved;
    bool writtenBeforeTheEnd = true;
    drivePreview(
        *Report1,
        [&](PreviewWindow& w) {
            seam.answerFileName(file);
            action(&w, "SaveReport")->trigger(); // the extension is added
            saved = *w.pages();
            EXPECT_TRUE(QFile::exists(file + QStringLiteral(".kvpages")));
        },
        [&](PreviewWindow& w) {
            seam.answerFileName(dir.filePath(QStringLiteral("early.kvpages")));
            w.SaveReportClick(); // before the last page is made nothing is written
            writtenBeforeTheEnd = QFile::exists(dir.filePath(QStringLiteral("early.kvpages")));
        });
    EXPECT_FALSE(writtenBeforeTheEnd);
    EXPECT_EQ(shown(seam).value(0), QStringLiteral("Save report [Report pages (*.kvpages)]"));

    // Another journal, then the saved pages loaded over its preview.
    db.exec(QStringLiteral("DELETE FROM \"Журнал\""));
    QFile damaged(dir.filePath(QStringLiteral("damaged.kvpages")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(encodePages(saved).left(500));
    damaged.close();
    seam.clear();
    drivePreview(*Report1, [&](PreviewWindow& w) {
        EXPECT_EQ(counter(&w), QStringLiteral("Page 1 of 1"));
        seam.answerFileName(dir.filePath(QStringLiteral("нет такого.kvpages")));
        seam.answerFileName(damaged.fileName());
        seam.answerFileName(file + QStringLiteral(".kvpages"));
        action(&w, "LoadReport")->trigger();
        action(&w, "LoadReport")->trigger();
        EXPECT_EQ(counter(&w), QStringLiteral("Page 1 of 1")); // nothing changed
        EXPECT_TRUE(action(&w, "PrinterSetup")->isEnabled());
        action(&w, "LoadReport")->trigger();
        EXPECT_EQ(*w.pages(), saved);
        EXPECT_EQ(counter(&w), QStringLiteral("Page 1 of 2"));
        EXPECT_FALSE(action(&w, "PrinterSetup")->isEnabled());
        EXPECT_TRUE(action(&w, "Print")->isEnabled());
    });
    EXPECT_EQ(shown(seam), (QStringList{QStringLiteral("Load report [Report pages (*.kvpages)]"),
                                        QStringLiteral("message: File does not exist"),
                                        QStringLiteral("Load report [Report pages (*.kvpages)]"),
                                        QStringLiteral("error: The page file is damaged."),
                                        QStringLiteral("Load report [Report pages (*.kvpages)]")}));

    // Loaded pages print as they are, scaled to the printable area.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("loaded.pdf")));
    Report1->printPagesTo(printer, saved);
    EXPECT_EQ(pdfPages(printer.outputFileName()), 2);
    EXPECT_TRUE(
        pdfPageTexts(printer.outputFileName()).value(1).contains(QStringLiteral("Клиент 40")));
}
