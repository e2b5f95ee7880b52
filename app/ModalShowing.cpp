#include "app/ModalShowing.h"

#include "app/BoxCommon.h"
#include "app/WindowHints.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QLayout>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <vector>

namespace kavelon {

namespace {

QPointer<QWidget> mainWindow;
std::vector<QPointer<QWidget>> shown; // innermost last
bool ending = false;

const char* const placedProperty = "kavelonPlaced";
const char* const fixedPlaceProperty = "kavelonFixedPlace";

bool isInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::Enter:
        return true;
    default:
        return false;
    }
}

// Blocked: the main window and every shown window except the innermost.
bool isBlocked(const QWidget* window) {
    if (shown.empty() || window == shown.back())
        return false;
    if (window == mainWindow)
        return true;
    for (const auto& w : shown)
        if (w == window)
            return true;
    return false;
}

class InputBlocker : public QObject {
public:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (shown.empty() || !receiver->isWidgetType())
            return false;
        QWidget* window = static_cast<QWidget*>(receiver)->window();
        if (!isBlocked(window))
            return false;
        if (event->type() == QEvent::WindowActivate) {
            // A click on a disabled window brings the shown one back to the front.
            QPointer<QWidget> front = shown.back();
            QTimer::singleShot(0, front, [front] {
                if (front && front->isVisible()) {
                    front->raise();
                    front->activateWindow();
                }
            });
            return false;
        }
        return isInput(event->type());
    }
};

void ensureBlocker() {
    static InputBlocker* blocker = nullptr;
    if (!blocker) {
        blocker = new InputBlocker;
        blocker->setParent(qApp);
        qApp->installEventFilter(blocker);
    }
}

// Quits the showing's loop when its window is hidden by the program (a minimised window hides
// spontaneously and stays shown).
class HideWatcher : public QObject {
public:
    explicit HideWatcher(QEventLoop& loop) : loop_(loop) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide && !event->spontaneous())
            loop_.quit();
        return false;
    }

private:
    QEventLoop& loop_;
};

// Before its first mapping a window knows no frame, and the position asked for is that of its
// client area: the frame the window manager announces is taken into account here instead.
void centreBeforeMapping(QWidget* window) {
    centreOnScreen(window, frameBeforeMapping(window));
}

// Returns true when the window was centred now: it is centred again once its frame is known.
bool placeFirstTime(QWidget* window) {
    if (window->property(placedProperty).toBool())
        return false;
    window->setProperty(placedProperty, true);
    const QVariant fixed = window->property(fixedPlaceProperty);
    if (fixed.isValid()) {
        window->move(fixed.toPoint());
        return false;
    }
    // A window sized by its layout (the main window, below its menu bar) has its size only once
    // the layout has run.
    window->ensurePolished();
    if (window->layout())
        window->layout()->activate();
    centreBeforeMapping(window);
    return true;
}

void showInFront(QWidget* window) {
    const bool centred = placeFirstTime(window);
    const QSize frameBefore = window->frameGeometry().size();
    window->show();
    if (centred && window->frameGeometry().size() != frameBefore)
        centreOnScreen(window);
    window->raise();
    window->activateWindow();
}

} // namespace

void setMainWindow(QWidget* window) {
    mainWindow = window;
}

void showMainWindow(QWidget* window) {
    setMainWindow(window);
    showInFront(window);
}

void setFixedPlace(QWidget* window, QPoint topLeft) {
    window->setProperty(fixedPlaceProperty, topLeft);
}

QWidget* modalWindow() {
    return shown.empty() ? nullptr : shown.back().data();
}

bool programEnding() {
    return ending;
}

void showModal(QWidget* window) {
    if (ending || !window || window->isVisible())
        return;
    ensureBlocker();
    QPointer<QWidget> previous = QApplication::activeWindow();
    if (!previous)
        previous = shown.empty() ? mainWindow.data() : shown.back().data();

    QEventLoop loop;
    HideWatcher watcher(loop);
    window->installEventFilter(&watcher);
    QWidget* owner = shown.empty() ? mainWindow.data() : shown.back().data();
    hintModalTo(window, owner);
    shown.emplace_back(window);

    showInFront(window);
    hintOwnerOfShown(window, owner);
    if (window->isVisible() && !ending)
        loop.exec(QEventLoop::DialogExec);

    if (window)
        window->removeEventFilter(&watcher);
    shown.pop_back();
    if (!ending && previous && previous->isVisible()) {
        previous->raise();
        previous->activateWindow();
    }
}

void endProgram(int exitCode) {
    if (ending)
        return;
    ending = true;
    // Innermost first, each through its own closing; a window that refuses is hidden anyway.
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
        QPointer<QWidget> window = *it;
        if (window && window->isVisible())
            window->close();
        if (window && window->isVisible())
            window->hide();
    }
    QCoreApplication::exit(exitCode);
}

} // namespace kavelon
