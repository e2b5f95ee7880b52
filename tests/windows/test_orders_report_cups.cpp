// Printing the orders report on a real print server: CUPS with the cups-pdf queue "PDF", which
// writes each job as a PDF under ~/PDF/. The server is started when it is not running.

#include "PdfText.h"
#include "PreviewDriver.h"
#include "ReportFixture.h"
#include "report/PrintProgress.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <QWindow>

using namespace kavelon;
using namespace kavelon::report;
using namespace kavelon::test;

namespace {

int run(const QString& program, const QStringList& arguments, QString* output = nullptr) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    if (!p.waitForFinished(30000))
        return -1;
    if (output)
        *output = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

bool schedulerRunning() {
    QString out;
    return run(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &out) == 0 &&
           !out.contains(QStringLiteral("not"));
}

// Empty when the server and the queue are ready; otherwise why they cannot be.
QString readyPrintServer() {
    if (QStandardPaths::findExecutable(QStringLiteral("cupsd")).isEmpty() &&
        !QFileInfo::exists(QStringLiteral("/usr/sbin/cupsd")))
        return QStringLiteral("cupsd is not installed (scripts/setup installs cups and cups-pdf)");
    if (!QFileInfo::exists(QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd")))
        return QStringLiteral("cups-pdf is not installed");
    if (!schedulerRunning()) {
        QString out;
        if (run(QStringLiteral("/usr/sbin/cupsd"), {}, &out) != 0)
            return QStringLiteral("cupsd cannot start here: ") + out.trimmed();
        const QDeadlineTimer deadline(15000);
        while (!schedulerRunning() && !deadline.hasExpired())
            QThread::msleep(100);
        if (!schedulerRunning())
            return QStringLiteral("cupsd started but does not answer");
    }
    if (run(QStringLiteral("lpstat"), {QStringLiteral("-p"), QStringLiteral("PDF")}) != 0) {
        QString out;
        if (run(QStringLiteral("lpadmin"),
                {QStringLiteral("-p"), QStringLiteral("PDF"), QStringLiteral("-v"),
                 QStringLiteral("cups-pdf:/"), QStringLiteral("-E"), QStringLiteral("-P"),
                 QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd")},
                &out) != 0)
            return QStringLiteral("the queue PDF cannot be added: ") + out.trimmed();
    }
    return {};
}

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

QStringList pdfsIn(const QDir& dir) {
    return dir.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
}

// The file a new job wrote, once it is complete.
QString waitForNewPdf(const QDir& dir, const QStringList& before) {
    const QDeadlineTimer deadline(90000);
    while (!deadline.hasExpired()) {
        for (const QString& name : pdfsIn(dir))
            if (!before.contains(name)) {
                const QString path = dir.filePath(name);
                if (pdfPages(path) > 0)
                    return path;
            }
        QThread::msleep(200);
    }
    return {};
}

} // namespace

TEST_F(ReportTest, PrintOnTheCupsPdfQueue) {
    qunsetenv("CUPS_SERVER");
    const QString notReady = readyPrintServer();
    if (!notReady.isEmpty())
        GTEST_SKIP() << notReady.toStdString();

    addOrders(60);
    open();
    RecordingMessages seam;
    QString presetPrinter;
    seam.onPrintDialog = [&](QPrinter& printer) {
        presetPrinter = printer.printerName();
        printer.setPrinterName(QStringLiteral("PDF"));
        printer.setCopyCount(1);
        return true;
    };
    const QDir out(QDir::home().filePath(QStringLiteral("PDF")));
    const QStringList before = pdfsIn(out);
    QString progressTitle;
    QSize progressSize;
    bool onTop = false;
    drivePreview(*Report1, [&](PreviewWindow& w) {
        action(&w, "PrinterSetup")->trigger();
        EXPECT_EQ(shown(seam).value(0), QStringLiteral("print dialog 1-3"));
        EXPECT_FALSE(presetPrinter.isEmpty()); // preset with the system's printer
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

        // OK keeps orientation, copies and range for later runs; Cancel changes nothing.
        seam.onPrintDialog = [](QPrinter& printer) {
            printer.setPageOrientation(QPageLayout::Landscape);
            printer.setCopyCount(2);
            printer.setPrintRange(QPrinter::PageRange);
            printer.setFromTo(2, 3);
            return true;
        };
        action(&w, "PrinterSetup")->trigger();
        seam.onPrintDialog = [](QPrinter& printer) {
            printer.setPageOrientation(QPageLayout::Portrait);
            return false;
        };
        action(&w, "PrinterSetup")->trigger();
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

    const QString pdf = waitForNewPdf(out, before);
    ASSERT_FALSE(pdf.isEmpty()) << "no job arrived in " << out.path().toStdString();
    EXPECT_EQ(pdfPages(pdf), 3);
    EXPECT_EQ(pdfPageSize(pdf), QStringLiteral("595 x 842"));
    // cups-pdf re-distills the job through PostScript into Type 3 fonts whose text mapping is
    // lost, so the words do not read back; their layout does. Each page: the title, the captions
    // and its rows, one line each; the title's letters repeat as those of "Печать заказов" do.
    const QStringList texts = pdfPageTexts(pdf);
    ASSERT_EQ(texts.size(), 3);
    std::vector<QStringList> lines;
    for (const QString& t : texts) {
        QStringList nonEmpty;
        for (const QString& line : t.split(u'\n'))
            if (!line.trimmed().isEmpty())
                nonEmpty << line.simplified();
        lines.push_back(nonEmpty);
    }
    EXPECT_EQ(lines[0].size(), 27);
    EXPECT_EQ(lines[1].size(), 27);
    EXPECT_EQ(lines[2].size(), 12);
    for (const QStringList& page : lines) {
        EXPECT_EQ(page.value(0), lines[0].value(0));
        EXPECT_EQ(page.value(1), lines[0].value(1));
    }
    EXPECT_TRUE(sameLetterPattern(lines[0].value(0), QStringLiteral("Печать заказов")))
        << lines[0].value(0).toStdString();
    QFile::remove(pdf);

    // The next preview is landscape: 16 rows to a page.
    drivePreview(*Report1,
                 [&](PreviewWindow& w) { EXPECT_EQ(counter(&w), QStringLiteral("Page 1 of 4")); });
}
