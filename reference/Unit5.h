#pragma once
// TForm5, "Клиенты": the list of customers.

#include "data/TableCursor.h"

#include <QWidget>
#include <memory>

class TForm5 : public QWidget {
    Q_OBJECT
public:
    TForm5();
    ~TForm5() override;

    const std::unique_ptr<kavelon::TableCursor> ADOTable1;
};

extern TForm5* Form5;
