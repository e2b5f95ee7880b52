#pragma once
// Drives a window shown modally: the test's actions run from a timer inside the showing's loop,
// once the window is the one shown.

#include "controls/ModalShowing.h"

#include <QTimer>
#include <QWidget>
#include <functional>

namespace kavelon::test {

inline void whenShown(QWidget* window, std::function<void()> act, int triesLeft = 200) {
    QTimer::singleShot(10, [=] {
        if (window->isVisible() && modalWindow() == window)
            act();
        else if (triesLeft > 0)
            whenShown(window, act, triesLeft - 1);
    });
}

} // namespace kavelon::test
