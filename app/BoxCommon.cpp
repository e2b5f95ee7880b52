#include "app/BoxCommon.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>

namespace kavelon {

void centreOnScreen(QWidget* window, QMargins announcedFrame) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize client = window->size();
    const QSize frame = window->frameGeometry().size();
    if (frame != client || announcedFrame.isNull()) {
        const QSize outer = frame.expandedTo(client);
        window->move(area.x() + (area.width() - outer.width()) / 2,
                     area.y() + (area.height() - outer.height()) / 2);
        return;
    }
    // Not mapped yet: the position asked for is that of the client area.
    const QSize outer = client.grownBy(announcedFrame);
    window->move(area.x() + (area.width() - outer.width()) / 2 + announcedFrame.left(),
                 area.y() + (area.height() - outer.height()) / 2 + announcedFrame.top());
}

QString boxClipboardText(const QString& caption, const QString& text, const QStringList& buttons) {
    const QString line = QString(27, QLatin1Char('-')) + QLatin1Char('\n');
    QString captions;
    for (const QString& b : buttons)
        captions += b + QStringLiteral("   ");
    return line + caption + QLatin1Char('\n') + line + text + QLatin1Char('\n') + line + captions +
           QLatin1Char('\n') + line;
}

bool copyBoxOnCtrlC(const QKeyEvent* event, const QString& clipboardText) {
    if (!event->matches(QKeySequence::Copy))
        return false;
    QApplication::beep();
    QGuiApplication::clipboard()->setText(clipboardText);
    return true;
}

} // namespace kavelon
