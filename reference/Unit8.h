#pragma once
// TForm8, "Добавить населённый пункт": the dialog that adds a settlement.

#include "data/TableCursor.h"

#include <QWidget>
#include <memory>

class TForm8 : public QWidget {
    Q_OBJECT
public:
    TForm8();
    ~TForm8() override;

    const std::unique_ptr<kavelon::TableCursor> ADOTable1;
};

extern TForm8* Form8;
