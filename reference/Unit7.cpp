#include "reference/Unit7.h"

#include "controls/FormSetup.h"
#include "controls/Opening.h"
#include "shell/Unit1.h"

using namespace kavelon;

TForm7* Form7 = nullptr;

TForm7::TForm7()
    : ADOTable1(tableCursor(QStringLiteral("ADOTable1"), Form1->ADOConnection1.get(),
                            schema::settlementsTable, schema::settlements().columns)) {
    setUpForm(this, QStringLiteral("Form7"), QStringLiteral("Населённые пункты"), {530, 447});
    openAtStart(*ADOTable1);
}

TForm7::~TForm7() = default;
