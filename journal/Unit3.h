#pragma once
// TForm3, "Новый заказ": the order entry dialog with its own journal cursor and the four lookup
// lists.

#include "data/TableCursor.h"

#include <QWidget>
#include <memory>

class TForm3 : public QWidget {
    Q_OBJECT
public:
    TForm3();
    ~TForm3() override;

    const std::unique_ptr<kavelon::TableCursor> ADOTable1;
    const std::unique_ptr<kavelon::TableCursor> ADOTable2;
    const std::unique_ptr<kavelon::TableCursor> ADOTable3;
    const std::unique_ptr<kavelon::TableCursor> ADOTable4;
    const std::unique_ptr<kavelon::TableCursor> ADOTable5;
};

extern TForm3* Form3;
