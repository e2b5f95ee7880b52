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
};

extern TForm13* Form13;
