#pragma once
// TForm2, "Журнал": the journal of orders. It stands at (96, 36), not centred.

#include "data/TableCursor.h"

#include <QWidget>
#include <memory>

class TForm2 : public QWidget {
    Q_OBJECT
public:
    TForm2();
    ~TForm2() override;

    const std::unique_ptr<kavelon::TableCursor> ADOTable1;
};

extern TForm2* Form2;
