#pragma once
// TForm11, "Водители": the list of drivers.

#include "windows/reference/ReferenceListWindow.h"

class TForm11 : public ReferenceListWindow {
    Q_OBJECT
public:
    TForm11();

protected:
    ReferenceEntryDialog* entryDialog() const override;
};

extern TForm11* Form11;
