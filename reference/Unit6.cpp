#include "reference/Unit6.h"

#include "controls/FormSetup.h"
#include "controls/Opening.h"
#include "shell/Unit1.h"

using namespace kavelon;

TForm6* Form6 = nullptr;

TForm6::TForm6()
    : ADOTable1(tableCursor(QStringLiteral("ADOTable1"), Form1->ADOConnection1.get(),
                            schema::clientsTable)) {
    setUpForm(this, QStringLiteral("Form6"), QStringLiteral("Добавить клиента"), {356, 239});
    openAtStart(*ADOTable1);
}

TForm6::~TForm6() = default;
