#pragma once
// The program's own message box: the application title as caption, the text, one "OK" that is
// both default and cancel button. Sizes are dialog units of the message font; the text wraps at
// half the screen's width and the box stands centred on the screen. Ctrl+C beeps and copies the
// box as dashed text.

#include <QDialog>

class QLabel;
class QPushButton;

namespace kavelon {

class MessageDialog : public QDialog {
    Q_OBJECT
public:
    explicit MessageDialog(const QString& text, QWidget* parent = nullptr);

    // The text Ctrl+C puts on the clipboard.
    QString clipboardText() const;

    QLabel* textLabel() const { return label_; }
    QPushButton* okButton() const { return button_; }

    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void layOut();

    QLabel* label_;
    QPushButton* button_;
    QMargins announcedFrame_;
};

} // namespace kavelon
