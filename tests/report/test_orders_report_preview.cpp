// The print preview of the orders report, driven as the dispatcher uses it.

#include "PreviewDriver.h"
#include "PrintServer.h"
#include "ReportFixture.h"
#include "report/ReportRun.h"

#include <QLabel>
#include <QScrollArea>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

using namespace kavelon;
using namespace kavelon::report;
using namespace kavelon::test;

TEST_F(ReportTest, PreviewToolbarCounterKeysAndEsc) {
    addOrders(60);
    open();
    RecordingMessages seam;
    bool setupEnabledDuringRun = true, printEnabledDuringRun = true;
    drivePreview(
        *Report1,
        [&](PreviewWindow& w) {
            EXPECT_EQ(w.windowTitle(), QStringLiteral("Print Preview"));
            EXPECT_TRUE(w.isMaximized());
            EXPECT_EQ(w.parentWidget(), nullptr); // no window was active to own it here

            auto* bar = w.findChild<QToolBar*>(QStringLiteral("ToolBar1"));
            QStringList order;
            for (QAction* a : bar->actions())
                order << (a->isSeparator() ? QStringLiteral("|") : a->toolTip());
            EXPECT_EQ(order.join(u','),
                      QStringLiteral(
                          "|,Zoom to fit,100%,Zoom to width,|,First page,Previous page,Next page,"
                          "Last page,|,Printer setup,Print,|,Save Report,Load Report,Save as PDF,|,"
                          "Close"));
            auto* close = qobject_cast<QToolButton*>(bar->widgetForAction(action(&w, "Close")));
            EXPECT_EQ(action(&w, "Close")->text(), QStringLiteral("&Close"));
            EXPECT_EQ(close->toolButtonStyle(), Qt::ToolButtonTextOnly);
            EXPECT_EQ(close->text(), QStringLiteral("&Close")); // shown as Close, C underlined
            EXPECT_TRUE(action(&w, "ZoomToWidth")->isChecked());
            EXPECT_FALSE(action(&w, "ZoomToFit")->isChecked());
            EXPECT_TRUE(action(&w, "PrinterSetup")->isEnabled());
            EXPECT_TRUE(action(&w, "Print")->isEnabled());

            EXPECT_EQ(counter(&w), QStringLiteral("Page 1 of 3"));
            auto* progress = w.findChild<QLabel*>(QStringLiteral("ProgressPanel"));
            EXPECT_EQ(progress->width(), 40);
            EXPECT_EQ(progress->text(), QStringLiteral("100%"));

            QWidget* area = w.pageArea()->viewport();
            QTest::keyClick(area, Qt::Key_PageDown);
            EXPECT_EQ(counter(&w), QStringLiteral("Page 2 of 3"));
            QTest::keyClick(area, Qt::Key_End);
            EXPECT_EQ(counter(&w), QStringLiteral("Page 3 of 3"));
            action(&w, "NextPage")->trigger(); // on the last page: nothing
            EXPECT_EQ(counter(&w), QStringLiteral("Page 3 of 3"));
            QTest::keyClick(area, Qt::Key_Home);
            EXPECT_EQ(counter(&w), QStringLiteral("Page 1 of 3"));
            QTest::keyClick(area, Qt::Key_PageUp); // before the first: nothing
            EXPECT_EQ(counter(&w), QStringLiteral("Page 1 of 3"));
            QTest::keyClick(area, Qt::Key_PageDown, Qt::ControlModifier);
            EXPECT_EQ(counter(&w), QStringLiteral("Page 3 of 3"));
            action(&w, "PrevPage")->trigger();
            EXPECT_EQ(counter(&w), QStringLiteral("Page 2 of 3"));
            QTest::keyClick(area, Qt::Key_PageUp, Qt::ControlModifier);
            EXPECT_EQ(counter(&w), QStringLiteral("Page 1 of 3"));
            action(&w, "LastPage")->trigger();
            EXPECT_EQ(counter(&w), QStringLiteral("Page 3 of 3"));

            QTest::keyClick(area, Qt::Key_Escape); // closes; ShowPreview returns
            EXPECT_TRUE(w.isClosed());
        },
        [&](PreviewWindow& w) {
            setupEnabledDuringRun = action(&w, "PrinterSetup")->isEnabled();
            printEnabledDuringRun = action(&w, "Print")->isEnabled();
        });
    EXPECT_FALSE(setupEnabledDuringRun);
    EXPECT_FALSE(printEnabledDuringRun);
    EXPECT_TRUE(shown(seam).isEmpty()) << shown(seam).join(u'\n').toStdString();
    // The cursor stands past its last row after the run.
    EXPECT_EQ(cursor->RecordCount(), 60);
}

TEST_F(ReportTest, AltCClosesThePreview) {
    addOrders(3);
    open();
    drivePreview(*Report1, [&](PreviewWindow& w) {
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(w.pageArea()->viewport(), Qt::Key_C, Qt::AltModifier);
        // A mnemonic presses its button and lets it go a moment later, as a click would.
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.isClosed(); }));
    });
}

TEST_F(ReportTest, PreviewZoomFormulas) {
    addOrders(3);
    open();
    drivePreview(*Report1, [&](PreviewWindow& w) {
        w.showNormal();
        w.resize(900, 700);
        QApplication::processEvents();
        const QSize area = w.pageArea()->viewport()->size();
        const double dpi = screenDotsPerInch();
        const double pageWidth = 210 / 25.4 * dpi, pageHeight = 297 / 25.4 * dpi;
        const auto sheet = [&] { return w.pageArea()->widget()->size(); };

        EXPECT_EQ(w.zoom(),
                  std::lround(90 * area.width() / pageWidth)); // worked out again on resize
        action(&w, "ZoomToFit")->trigger();
        EXPECT_TRUE(action(&w, "ZoomToFit")->isChecked());
        EXPECT_FALSE(action(&w, "ZoomToWidth")->isChecked());
        const long fit = std::min(std::lround(95 * area.width() / pageWidth),
                                  std::lround(95 * area.height() / pageHeight));
        EXPECT_EQ(w.zoom(), fit);
        EXPECT_EQ(sheet(), QSize(std::lround(pageWidth * fit / 100) + 4,
                                 std::lround(pageHeight * fit / 100) + 4));
        action(&w, "Zoom100")->trigger();
        EXPECT_EQ(w.zoom(), 100);
        EXPECT_EQ(sheet().width(), std::lround(pageWidth) + 4);
        w.setZoom(1);
        w.setZoom(2001);
        EXPECT_EQ(w.zoom(), 100);
        w.setZoom(2000);
        EXPECT_EQ(w.zoom(), 2000);
        w.resize(700, 500); // 100 % mode keeps its zoom when the area changes
        QApplication::processEvents();
        EXPECT_EQ(w.zoom(), 2000);
        action(&w, "ZoomToWidth")->trigger();
        EXPECT_EQ(w.zoom(), std::lround(90 * w.pageArea()->viewport()->width() / pageWidth));
    });
}

TEST_F(ReportTest, PreviewShowsTheJournalAsItStandsAndOpensOnce) {
    addOrders(2);
    open();
    addOrders(30); // written meanwhile through another cursor
    EXPECT_EQ(cursor->RecordCount(), 2);
    int previews = 0;
    drivePreview(*Report1, [&](PreviewWindow& w) {
        EXPECT_EQ(counter(&w), QStringLiteral("Page 1 of 2"));
        Report1->ShowPreview(); // a second request brings this one to the front
        for (QWidget* top : QApplication::topLevelWidgets())
            previews += qobject_cast<PreviewWindow*>(top) && top->isVisible();
        EXPECT_EQ(Report1->preview(), &w);
    });
    EXPECT_EQ(previews, 1);
    EXPECT_EQ(cursor->RecordCount(), 32);

    // Landscape kept in the report's settings applies to the next preview.
    Report1->printerSettings().orientation = Orientation::Landscape;
    drivePreview(*Report1, [&](PreviewWindow& w) {
        EXPECT_EQ(counter(&w), QStringLiteral("Page 1 of 2"));
        EXPECT_EQ(w.pages()->width, 29700);
        EXPECT_EQ(w.pages()->pages.size(), 2u); // 16 + 16
    });
}

TEST_F(ReportTest, ClosingThePreviewDuringTheRunStopsIt) {
    addOrders(2000);
    open();
    int madeWhenClosed = -1;
    bool closedDuringRun = false;
    QTimer timer;
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        PreviewWindow* w = Report1->preview();
        if (!w || w->pagesMade() < 1 || madeWhenClosed >= 0)
            return;
        closedDuringRun = !runFinished(w);
        madeWhenClosed = w->pagesMade();
        w->close();
    });
    timer.start();
    Report1->ShowPreview(); // returns at once: the run stops before its next row
    EXPECT_TRUE(closedDuringRun);
    EXPECT_GE(madeWhenClosed, 1);
    EXPECT_LT(madeWhenClosed, 80);
    EXPECT_EQ(Report1->preview(), nullptr);
}

TEST_F(ReportTest, NoPrinterLeavesThePreviewUsable) {
    const UsePrintServer none(QStringLiteral("/nonexistent/kavelon-no-print-server"));
    addOrders(30);
    open();
    RecordingMessages seam;
    drivePreview(*Report1, [&](PreviewWindow& w) {
        EXPECT_TRUE(Report1->printerName().isEmpty());
        action(&w, "PrinterSetup")->trigger();
        EXPECT_EQ(shown(seam), QStringList{QStringLiteral(
                                   "error: There is no default printer currently selected.")});
        action(&w, "Print")->trigger(); // does nothing: no progress window, no box
        EXPECT_EQ(shown(seam).size(), 1);
        EXPECT_EQ(w.findChild<QWidget*>(QStringLiteral("PrintProgress")), nullptr);
        action(&w, "NextPage")->trigger();
        EXPECT_EQ(counter(&w), QStringLiteral("Page 2 of 2"));
    });
}

TEST_F(ReportTest, ThePreviewBelongsToTheModalJournalAndClosesWithIt) {
    addOrders(3);
    open();
    QWidget journal;
    journal.setWindowModality(Qt::ApplicationModal);
    journal.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &journal);
    drivePreview(*Report1, [&](PreviewWindow& w) {
        EXPECT_EQ(w.parentWidget(), &journal); // a window of the modal journal is not blocked by it
        EXPECT_TRUE(w.isWindow());
        journal.close();
        EXPECT_TRUE(w.isClosed());
    });
    EXPECT_FALSE(journal.isVisible());
}

namespace {

// The rightmost column of ink in a horizontal strip of the sheet between two positions on the
// page (millimetres), or -1; x counts from the sheet's left edge at that zoom.
int rightmostInk(const QImage& sheet, double pixelsPerMillimetre, double fromMm, double toMm,
                 double topMm, double bottomMm) {
    const auto at = [&](double mm) { return 1 + static_cast<int>(mm * pixelsPerMillimetre); };
    for (int x = at(toMm) - 1; x >= at(fromMm); --x)
        for (int y = at(topMm); y < at(bottomMm); ++y)
            if (qGray(sheet.pixel(x, y)) < 160)
                return x;
    return -1;
}

} // namespace

TEST_F(ReportTest, TheSheetShowsEveryCaptionWholeAtEveryZoom) {
    addOrders(1);
    open();
    drivePreview(*Report1, [&](PreviewWindow& w) {
        QWidget* sheet = w.pageArea()->widget();
        const double dpi = screenDotsPerInch();
        // "Транспортное ср-во" runs from 127.00 mm towards the "Вес груза" box at 165.10 mm.
        const auto captionEnd = [&](int zoom) {
            w.setZoom(zoom);
            const double perMm = dpi / 25.4 * zoom / 100;
            const int ink =
                rightmostInk(sheet->grab().toImage(), perMm, 127.0, 165.1, 14.82, 19.32);
            const int box = 1 + static_cast<int>(165.10 * perMm);
            EXPECT_GT(ink, 0) << zoom;
            EXPECT_LT(ink, box - 1) << "the caption runs under the next box at " << zoom << " %";
            return (ink - 1 - 127.0 * perMm) / (zoom / 100.0); // its length, back at 100 %
        };
        const double whole = captionEnd(100);
        for (int zoom : {50, 72, 73, 85, 137, 200})
            EXPECT_NEAR(captionEnd(zoom), whole, 2.5) << zoom; // the same share of the page
    });
}
