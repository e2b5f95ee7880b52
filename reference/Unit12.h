#pragma once
// TForm12, "Добавить водителя": the dialog that adds a driver, with the vehicles for its lookup
// box.

#include "data/TableCursor.h"

#include <QWidget>
#include <memory>

class TForm12 : public QWidget {
    Q_OBJECT
public:
    TForm12();
    ~TForm12() override;

    const std::unique_ptr<kavelon::TableCursor> ADOTable1;
    const std::unique_ptr<kavelon::TableCursor> ADOTable2;
};

extern TForm12* Form12;
