#pragma once
// TForm5, "Клиенты": the list of customers. Its grid is wider than the window: the right part, with
// the vertical scroll bar, lies outside and is not seen.

#include "windows/reference/ReferenceListWindow.h"

class TForm5 : public ReferenceListWindow {
    Q_OBJECT
public:
    TForm5();

protected:
    ReferenceEntryDialog* entryDialog() const override;
};

extern TForm5* Form5;
