#pragma once
// TForm8, "Добавить населённый пункт": the dialog that adds a settlement.

#include "windows/reference/ReferenceEntryDialog.h"

class TForm8 : public LabelledEntryDialog {
    Q_OBJECT
public:
    TForm8();

protected:
    kavelon::TableCursor& listCursor() const override;
};

extern TForm8* Form8;
