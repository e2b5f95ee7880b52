#include "reference/Unit12.h"

#include "controls/FormSetup.h"
#include "controls/Opening.h"
#include "shell/Unit1.h"

using namespace kavelon;

TForm12* Form12 = nullptr;

TForm12::TForm12()
    : ADOTable1(tableCursor(QStringLiteral("ADOTable1"), Form1->ADOConnection1.get(),
                            schema::driversTable)),
      ADOTable2(tableCursor(QStringLiteral("ADOTable2"), Form1->ADOConnection1.get(),
                            schema::vehiclesTable)) {
    setUpForm(this, QStringLiteral("Form12"), QStringLiteral("Добавить водителя"), {528, 341});
    openAtStart(*ADOTable1);
    openAtStart(*ADOTable2);
}

TForm12::~TForm12() = default;
