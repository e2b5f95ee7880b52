#include "reference/Unit10.h"

#include "controls/FormSetup.h"
#include "controls/Opening.h"
#include "shell/Unit1.h"

using namespace kavelon;

TForm10* Form10 = nullptr;

TForm10::TForm10()
    : ADOTable1(tableCursor(QStringLiteral("ADOTable1"), Form1->ADOConnection1.get(),
                            schema::vehiclesTable)) {
    setUpForm(this, QStringLiteral("Form10"), QStringLiteral("Добавить транспортное средство"),
              {449, 286});
    openAtStart(*ADOTable1);
}

TForm10::~TForm10() = default;
