#pragma once
// TForm10, "Добавить транспортное средство": the dialog that adds a vehicle.

#include "data/TableCursor.h"

#include <QWidget>
#include <memory>

class TForm10 : public QWidget {
    Q_OBJECT
public:
    TForm10();
    ~TForm10() override;

    const std::unique_ptr<kavelon::TableCursor> ADOTable1;
};

extern TForm10* Form10;
