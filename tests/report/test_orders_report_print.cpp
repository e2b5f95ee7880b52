// Printing the orders report onto a PDF printer, and the page file and PDF file from the preview.

#include "PdfText.h"
#include "PreviewDriver.h"
#include "ReportFixture.h"
#include "report/PageFile.h"

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

TEST_F(ReportTest, ThePreviewKeepsItsPagesAsAPdfWithText) {
    addOrders(26);
    open();
    RecordingMessages seam;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("заказы"));
    bool askedDuringTheRun = false;
    drivePreview(
        *Report1,
        [&](PreviewWindow& w) {
            seam.answerFileName(file);
            action(&w, "SavePdf")->trigger(); // the extension is added
        },
        [&](PreviewWindow& w) {
            seam.answerFileName(dir.filePath(QStringLiteral("early.pdf")));
            askedDuringTheRun = !runFinished(&w);
            w.SavePdfClick(); // before the last page is made nothing is written
        });
    EXPECT_TRUE(askedDuringTheRun);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("early.pdf"))));
    EXPECT_EQ(shown(seam).value(0), QStringLiteral("Save as PDF [PDF files (*.pdf)]"));

    const QString pdf = file + QStringLiteral(".pdf");
    ASSERT_EQ(pdfPages(pdf), 2);
    EXPECT_EQ(pdfPageSize(pdf), QStringLiteral("595 x 842"));
    const QStringList pages = pdfPageTexts(pdf);
    ASSERT_EQ(pages.size(), 2);
    // Every order reads back on its own line: its number, its customer and its sum.
    int orders = 0;
    for (int p = 0; p < 2; ++p) {
        EXPECT_TRUE(pages[p].contains(QStringLiteral("Печать заказов")));
        EXPECT_TRUE(pages[p].contains(QStringLiteral("Транспортное ср-во")));
        for (const QString& line : pages[p].split(u'\n')) {
            const QStringList words = line.simplified().split(u' ');
            bool isOrder = false;
            const int id = words.value(0).toInt(&isOrder);
            if (!isOrder)
                continue;
            ++orders;
            EXPECT_EQ(p, id > 25 ? 1 : 0) << id;
            EXPECT_TRUE(line.simplified().contains(QStringLiteral(" Клиент %1 ").arg(id))) << id;
            EXPECT_EQ(words.last(), QString::number(1000 + id)) << id;
        }
    }
    EXPECT_EQ(orders, 26);
}

TEST_F(ReportTest, LoadReportTakesATypedNameThatDoesNotExist) {
    addOrders(3);
    open();
    RecordingMessages seam;
    seam.realFileDialogs = true;
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.kvpages"));
    QStringList otherBoxes;
    QTimer typist;
    bool typed = false;
    QObject::connect(&typist, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            otherBoxes << box->text(); // a box of the dialog's own: the name was refused
            box->reject();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (typed) {
                dialog->reject();
                return;
            }
            typed = true;
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(missing);
            // Pressed from a timer of its own: a box the dialog shows in answer must not hold up
            // this one, which closes it.
            QTimer::singleShot(0, name, [name] { QTest::keyClick(name, Qt::Key_Return); });
        }
    });
    typist.start(5);
    drivePreview(*Report1, [&](PreviewWindow& w) {
        action(&w, "LoadReport")->trigger();
        EXPECT_EQ(counter(&w), QStringLiteral("Page 1 of 1")); // nothing changed
        EXPECT_TRUE(action(&w, "PrinterSetup")->isEnabled());
    });
    EXPECT_TRUE(otherBoxes.isEmpty()) << otherBoxes.join(u'\n').toStdString();
    EXPECT_EQ(shown(seam), (QStringList{QStringLiteral("Load report [Report pages (*.kvpages)]"),
                                        QStringLiteral("message: File does not exist")}));
}
