#pragma once
// The platform's message box as the error box, the fatal box and the grid's question show it:
// centred on the screen like the program's own box, and copied by Ctrl+C the same way.

#include <QMessageBox>
#include <memory>

namespace kavelon {

class SystemBox : public QMessageBox {
    Q_OBJECT
public:
    SystemBox(Icon icon, const QString& caption, const QString& text, StandardButtons buttons);

    // The text Ctrl+C puts on the clipboard: caption, text and buttons between dashed lines.
    QString clipboardText() const;

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QMargins announcedFrame_;
};

// The error box: the application title, the stop icon, the text and OK.
std::unique_ptr<SystemBox> makeErrorBox(const QString& text);
// The fatal error box: "Application Error", the stop icon, the text and OK.
std::unique_ptr<SystemBox> makeFatalBox(const QString& text);
// A question: the caption, the question-mark icon, the text, OK (Enter) and Cancel (Esc).
std::unique_ptr<SystemBox> makeConfirmBox(const QString& caption, const QString& text);

} // namespace kavelon
