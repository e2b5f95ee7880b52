#pragma once
// TForm4, "Печать заказа": the holder of the orders report and its own journal cursor; never shown.

#include "data/TableCursor.h"

#include <QWidget>
#include <memory>

class TForm4 : public QWidget {
    Q_OBJECT
public:
    TForm4();
    ~TForm4() override;

    const std::unique_ptr<kavelon::TableCursor> ADOTable1;
};

extern TForm4* Form4;
