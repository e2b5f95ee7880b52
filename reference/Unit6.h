#pragma once
// TForm6, "Добавить клиента": the dialog that adds a customer.

#include "data/TableCursor.h"

#include <QWidget>
#include <memory>

class TForm6 : public QWidget {
    Q_OBJECT
public:
    TForm6();
    ~TForm6() override;

    const std::unique_ptr<kavelon::TableCursor> ADOTable1;
};

extern TForm6* Form6;
