#pragma once
// Runs Report::ShowPreview and drives the open preview from a timer, since ShowPreview returns
// only when the preview closes.

#include "common/InShowing.h"
#include "report/PreviewWindow.h"
#include "report/Report.h"

#include <QAction>
#include <QApplication>
#include <functional>
#include <gtest/gtest.h>

namespace kavelon::test {

inline QAction* action(QWidget* window, const char* name) {
    return window->findChild<QAction*>(QLatin1String(name));
}

inline bool runFinished(report::PreviewWindow* w) {
    return action(w, "Print")->isEnabled();
}

// firstPage sees the preview as soon as the run has made page 1, while it still makes the later
// ones (give it more than 25 orders); steps see it once the run has finished. The preview is
// closed afterwards if the steps left it open.
inline void drivePreview(report::Report& report,
                         const std::function<void(report::PreviewWindow&)>& steps,
                         const std::function<void(report::PreviewWindow&)>& firstPage = {}) {
    QMetaObject::Connection opened;
    if (firstPage)
        opened = QObject::connect(
            &report, &report::Report::previewOpened, [&](report::PreviewWindow* w) {
                QObject::connect(
                    w, &report::PreviewWindow::firstPageShown, w,
                    [w, &firstPage] { firstPage(*w); }, Qt::SingleShotConnection);
            });
    report::PreviewWindow* w = nullptr;
    actInShowing(
        QStringLiteral("the finished preview"),
        [&] {
            w = report.preview();
            return w && (runFinished(w) || w->isClosed());
        },
        [&] { report.ShowPreview(); },
        [&] {
            steps(*w);
            if (report.preview() && !report.preview()->isClosed())
                report.preview()->close();
        });
    QObject::disconnect(opened);
    EXPECT_EQ(report.preview(), nullptr);
}

inline QString counter(QWidget* w) {
    return w->findChild<QWidget*>(QStringLiteral("CounterPanel"))->property("text").toString();
}

} // namespace kavelon::test
