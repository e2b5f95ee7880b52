#include "reference/Unit9.h"

#include "controls/FormSetup.h"
#include "controls/Opening.h"
#include "shell/Unit1.h"

using namespace kavelon;

TForm9* Form9 = nullptr;

TForm9::TForm9()
    : ADOTable1(tableCursor(QStringLiteral("ADOTable1"), Form1->ADOConnection1.get(),
                            schema::vehiclesTable, schema::vehicles().columns)) {
    setUpForm(this, QStringLiteral("Form9"), QStringLiteral("Транспортные средства"), {694, 339});
    openAtStart(*ADOTable1);
}

TForm9::~TForm9() = default;
