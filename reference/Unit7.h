#pragma once
// TForm7, "Населённые пункты": the list of settlements.

#include "data/TableCursor.h"

#include <QWidget>
#include <memory>

class TForm7 : public QWidget {
    Q_OBJECT
public:
    TForm7();
    ~TForm7() override;

    const std::unique_ptr<kavelon::TableCursor> ADOTable1;
};

extern TForm7* Form7;
