#include "app/SystemBox.h"

#include "app/BoxCommon.h"
#include "app/MessageText.h"
#include "app/WindowHints.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace kavelon {

SystemBox::SystemBox(Icon icon, const QString& caption, const QString& text,
                     StandardButtons buttons)
    : QMessageBox(icon, caption, text, buttons) {
    setObjectName(QStringLiteral("SystemBox"));
}

QString SystemBox::clipboardText() const {
    // In the order the box offers them, OK before Cancel.
    QStringList captions;
    for (const StandardButton b : {Ok, Cancel})
        if (const QAbstractButton* shown = button(b))
            captions << shown->text().remove(QLatin1Char('&'));
    return boxClipboardText(windowTitle(), text(), captions);
}

void SystemBox::setVisible(bool visible) {
    // Asked while the box is not yet mapped: the frame the window manager will put around it. A
    // box of fixed size is framed without resize handles, so it is fixed before asking; showing
    // gives it its final size.
    if (visible && !isVisible()) {
        ensurePolished();
        setFixedSize(sizeHint());
        announcedFrame_ = frameBeforeMapping(this);
    }
    QMessageBox::setVisible(visible);
}

void SystemBox::showEvent(QShowEvent* event) {
    // The box takes its size while being shown; only then can it be centred.
    QMessageBox::showEvent(event);
    centreOnScreen(this, announcedFrame_);
}

void SystemBox::keyPressEvent(QKeyEvent* event) {
    if (copyBoxOnCtrlC(event, clipboardText()))
        return;
    QMessageBox::keyPressEvent(event);
}

std::unique_ptr<SystemBox> makeErrorBox(const QString& text) {
    return std::make_unique<SystemBox>(QMessageBox::Critical, applicationTitle(), text,
                                       QMessageBox::Ok);
}

std::unique_ptr<SystemBox> makeFatalBox(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return std::make_unique<SystemBox>(QMessageBox::Critical, QStringLiteral("Application Error"),
                                       shown.trimmed(), QMessageBox::Ok);
}

std::unique_ptr<SystemBox> makeConfirmBox(const QString& caption, const QString& text) {
    auto box = std::make_unique<SystemBox>(QMessageBox::Question, caption, text,
                                           QMessageBox::Ok | QMessageBox::Cancel);
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Cancel);
    return box;
}

} // namespace kavelon
