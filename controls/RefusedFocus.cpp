#include "controls/RefusedFocus.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

namespace kavelon {

namespace {

class PressDropper : public QObject {
public:
    using QObject::QObject;

    void arm() {
        if (armed_)
            return;
        armed_ = true;
        qApp->installEventFilter(this);
        // The press under way is delivered before the event loop turns again; after that,
        // nothing more is dropped.
        QTimer::singleShot(0, this, [this] { disarm(); });
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (armed_ && (event->type() == QEvent::MouseButtonPress ||
                       event->type() == QEvent::MouseButtonDblClick)) {
            disarm();
            return true;
        }
        return false;
    }

private:
    void disarm() {
        if (!armed_)
            return;
        armed_ = false;
        qApp->removeEventFilter(this);
    }

    bool armed_ = false;
};

} // namespace

void dropPressOnItsWay() {
    static QPointer<PressDropper> dropper;
    if (!dropper)
        dropper = new PressDropper(qApp);
    dropper->arm();
}

} // namespace kavelon
