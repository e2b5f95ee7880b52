#include "app/Buttons.h"

#include "app/ModalShowing.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

namespace kavelon {

namespace {

class EnterPresses : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        auto* button = qobject_cast<QPushButton*>(receiver);
        if (!button || !button->isEnabled() || !button->isVisible() ||
            qobject_cast<QDialog*>(button->window()))
            return false;
        // A window behind the one shown modally takes no input.
        if (const QWidget* front = modalWindow(); front && button->window() != front)
            return false;
        button->click();
        return true;
    }
};

} // namespace

void pressFocusedButtonsOnEnter() {
    static EnterPresses* filter = nullptr;
    if (filter)
        return;
    filter = new EnterPresses(qApp);
    qApp->installEventFilter(filter);
}

int captionRoom(const QPushButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.rect = QRect(QPoint(), button->size());
    option.text = button->text();
    if (button->autoDefault())
        option.features |= QStyleOptionButton::AutoDefaultButton;
    const QRect contents =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    return contents.width() - 2 * 3;
}

int captionWidth(const QPushButton* button) {
    const QFontMetrics metrics(button->font());
    const QString text = button->text();
    return std::max(metrics.horizontalAdvance(text), metrics.boundingRect(text).width());
}

void fitCaption(QPushButton* button) {
    const QFont designed = button->font();
    for (const int stretch : {int(QFont::SemiCondensed), int(QFont::Condensed),
                              int(QFont::ExtraCondensed), int(QFont::UltraCondensed)}) {
        if (captionWidth(button) <= captionRoom(button))
            return;
        QFont narrower = designed;
        narrower.setStretch(stretch);
        button->setFont(narrower);
    }
}

} // namespace kavelon
