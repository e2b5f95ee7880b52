#pragma once
// TForm9, "Транспортные средства": the list of vehicles.

#include "windows/reference/ReferenceListWindow.h"

class TForm9 : public ReferenceListWindow {
    Q_OBJECT
public:
    TForm9();

protected:
    ReferenceEntryDialog* entryDialog() const override;
};

extern TForm9* Form9;
