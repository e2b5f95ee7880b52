#include "reference/Unit8.h"

#include "controls/FormSetup.h"
#include "controls/Opening.h"
#include "shell/Unit1.h"

using namespace kavelon;

TForm8* Form8 = nullptr;

TForm8::TForm8()
    : ADOTable1(tableCursor(QStringLiteral("ADOTable1"), Form1->ADOConnection1.get(),
                            schema::settlementsTable)) {
    setUpForm(this, QStringLiteral("Form8"), QStringLiteral("Добавить населённый пункт"),
              {420, 182});
    openAtStart(*ADOTable1);
}

TForm8::~TForm8() = default;
