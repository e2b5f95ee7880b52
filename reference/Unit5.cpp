#include "reference/Unit5.h"

#include "controls/FormSetup.h"
#include "controls/Opening.h"
#include "shell/Unit1.h"

using namespace kavelon;

TForm5* Form5 = nullptr;

TForm5::TForm5()
    : ADOTable1(tableCursor(QStringLiteral("ADOTable1"), Form1->ADOConnection1.get(),
                            schema::clientsTable, schema::clients().columns)) {
    setUpForm(this, QStringLiteral("Form5"), QStringLiteral("Клиенты"), {701, 355});
    openAtStart(*ADOTable1);
}

TForm5::~TForm5() = default;
