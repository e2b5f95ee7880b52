#pragma once
// Drives a window shown modally: the test's actions run from a timer inside the showing's loop,
// once the window is the one shown.

#include "app/ModalShowing.h"

#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace kavelon::test {

// A window that never comes fails the test: its actions, and the assertions in them, would
// otherwise be skipped unseen.
inline void whenShown(QWidget* window, std::function<void()> act, int triesLeft = 300) {
    QTimer::singleShot(10, [=] {
        if (window->isVisible() && modalWindow() == window)
            act();
        else if (triesLeft > 0)
            whenShown(window, act, triesLeft - 1);
        else
            ADD_FAILURE() << qPrintable(window->objectName()) << " was never shown";
    });
}

} // namespace kavelon::test
