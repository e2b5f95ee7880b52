#include "app/MessageDialog.h"

#include "app/BoxCommon.h"
#include "app/MessageText.h"
#include "app/WindowHints.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace kavelon {

namespace {
// Dialog units: a horizontal unit is a quarter of the font's average character width, a
// vertical one an eighth of its height.
struct DialogUnits {
    int averageWidth;
    int height;
    int x(int units) const { return (units * averageWidth + 2) / 4; }
    int y(int units) const { return (units * height + 4) / 8; }
};

DialogUnits dialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int average = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
    return {std::max(1, average), metrics.height()};
}
} // namespace

MessageDialog::MessageDialog(const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      label_(new QLabel(text, this)), button_(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("MessageBox"));
    setWindowTitle(applicationTitle());
    setFont(QApplication::font("QMessageBox"));
    label_->setObjectName(QStringLiteral("Text"));
    label_->setTextFormat(Qt::PlainText);
    label_->setWordWrap(true);
    button_->setObjectName(QStringLiteral("OK"));
    button_->setDefault(true);
    // Esc and the close box reject, the button accepts; either way the box closes.
    connect(button_, &QPushButton::clicked, this, &QDialog::accept);
    layOut();
}

void MessageDialog::layOut() {
    const DialogUnits du = dialogUnits(font());
    const QFontMetrics metrics(font());
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int maxTextWidth = screen ? screen->geometry().width() / 2 : 640;

    const QRect textRect =
        metrics.boundingRect(QRect(0, 0, maxTextWidth, 100000), Qt::TextWordWrap, label_->text());
    const int buttonWidth =
        std::max(du.x(50), metrics.horizontalAdvance(button_->text()) + 2 * du.x(4));
    const int buttonHeight = du.y(14);
    const int contentWidth = std::max(textRect.width(), buttonWidth);

    label_->setGeometry(du.x(8), du.y(8), contentWidth, textRect.height());
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const int buttonTop = du.y(8) + textRect.height() + du.y(10);
    button_->setGeometry(du.x(8) + (contentWidth - buttonWidth) / 2, buttonTop, buttonWidth,
                         buttonHeight);
    setFixedSize(contentWidth + 2 * du.x(8), buttonTop + buttonHeight + du.y(8));
    centreOnScreen(this);
}

void MessageDialog::setVisible(bool visible) {
    // Asked while the box is not yet mapped: the frame the window manager will put around it.
    if (visible && !isVisible())
        announcedFrame_ = frameBeforeMapping(this);
    QDialog::setVisible(visible);
}

void MessageDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred by its frame, not just by its client area.
    centreOnScreen(this, announcedFrame_);
}

QString MessageDialog::clipboardText() const {
    return boxClipboardText(windowTitle(), label_->text(), {button_->text()});
}

void MessageDialog::keyPressEvent(QKeyEvent* event) {
    if (copyBoxOnCtrlC(event, clipboardText()))
        return;
    QDialog::keyPressEvent(event);
}

} // namespace kavelon
