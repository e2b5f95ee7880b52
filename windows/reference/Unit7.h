#pragma once
// TForm7, "Населённые пункты": the list of settlements.

#include "windows/reference/ReferenceListWindow.h"

class TForm7 : public ReferenceListWindow {
    Q_OBJECT
public:
    TForm7();

protected:
    ReferenceEntryDialog* entryDialog() const override;
};

extern TForm7* Form7;
