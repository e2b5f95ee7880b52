#pragma once
// TForm13, "О программе...": a fixed text about the program in an editable box. What the user
// types stays until the program ends; nothing is saved.

#include <QWidget>

class QPlainTextEdit;

class TForm13 : public QWidget {
    Q_OBJECT
public:
    TForm13();

    QPlainTextEdit* Memo1 = nullptr;

protected:
    // Tab moves on to the next control instead of typing a tab; the text box is the only one.
    bool eventFilter(QObject* watched, QEvent* event) override;
};

extern TForm13* Form13;
