#include "app/FormSetup.h"

#include <QEvent>
#include <QWidget>

namespace kavelon {

namespace {

// Qt draws focus frames only in a window whose focus moved by the keyboard, and forgets that
// whenever the window is shown; the program's windows show the focus from the start, every time.
class FocusShownFromStart : public QObject {
public:
    explicit FocusShownFromStart(QWidget* form) : QObject(form) { form->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            static_cast<QWidget*>(watched)->setAttribute(Qt::WA_KeyboardFocusChange);
        return false;
    }
};

} // namespace

QFont pixelFont(const QString& family, int pixelHeight, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

QFont defaultFormFont() {
    return pixelFont(QStringLiteral("MS Sans Serif"), 11);
}

void setFormFrame(QWidget* form) {
    form->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    new FocusShownFromStart(form);
}

void setUpForm(QWidget* form, const QString& objectName, const QString& caption, QSize client) {
    form->setObjectName(objectName);
    setFormFrame(form);
    form->setWindowTitle(caption);
    form->setFont(defaultFormFont());
    form->setFixedSize(client);
}

} // namespace kavelon
