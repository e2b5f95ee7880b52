#pragma once
// Drives one of the program's windows shown modally: the test's actions run inside the showing,
// once the window is the one shown.

#include "app/ModalShowing.h"
#include "common/InShowing.h"

#include <QWidget>

namespace kavelon::test {

// Calls show, which shows window modally and returns when the showing ends, and runs act inside
// it once window is the modal window and active, so that the keys act types reach it. A window
// that never comes fails the test: its actions, and the assertions in them, would otherwise be
// skipped unseen. Returns whether act ran.
inline bool whenShown(QWidget* window, const std::function<void()>& show,
                      const std::function<void()>& act) {
    return actInShowing(
        window->objectName(),
        [window] {
            return window->isVisible() && modalWindow() == window && window->isActiveWindow();
        },
        show, act);
}

} // namespace kavelon::test
