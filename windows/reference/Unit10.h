#pragma once
// TForm10, "Добавить транспортное средство": the dialog that adds a vehicle.

#include "windows/reference/ReferenceEntryDialog.h"

class TForm10 : public LabelledEntryDialog {
    Q_OBJECT
public:
    TForm10();

protected:
    kavelon::TableCursor& listCursor() const override;
};

extern TForm10* Form10;
