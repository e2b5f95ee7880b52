#include "reference/Unit11.h"

#include "controls/FormSetup.h"
#include "controls/Opening.h"
#include "shell/Unit1.h"

using namespace kavelon;

TForm11* Form11 = nullptr;

TForm11::TForm11()
    : ADOTable1(tableCursor(QStringLiteral("ADOTable1"), Form1->ADOConnection1.get(),
                            schema::driversTable, schema::drivers().columns)) {
    setUpForm(this, QStringLiteral("Form11"), QStringLiteral("Водители"), {758, 316});
    openAtStart(*ADOTable1);
}

TForm11::~TForm11() = default;
