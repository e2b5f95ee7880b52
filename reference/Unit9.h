#pragma once
// TForm9, "Транспортные средства": the list of vehicles.

#include "data/TableCursor.h"

#include <QWidget>
#include <memory>

class TForm9 : public QWidget {
    Q_OBJECT
public:
    TForm9();
    ~TForm9() override;

    const std::unique_ptr<kavelon::TableCursor> ADOTable1;
};

extern TForm9* Form9;
