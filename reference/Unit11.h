#pragma once
// TForm11, "Водители": the list of drivers.

#include "data/TableCursor.h"

#include <QWidget>
#include <memory>

class TForm11 : public QWidget {
    Q_OBJECT
public:
    TForm11();
    ~TForm11() override;

    const std::unique_ptr<kavelon::TableCursor> ADOTable1;
};

extern TForm11* Form11;
