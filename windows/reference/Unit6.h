#pragma once
// TForm6, "Добавить клиента": the dialog that adds a customer.

#include "windows/reference/ReferenceEntryDialog.h"

class TForm6 : public LabelledEntryDialog {
    Q_OBJECT
public:
    TForm6();

protected:
    kavelon::TableCursor& listCursor() const override;
};

extern TForm6* Form6;
