#include "journal/Unit4.h"

#include "controls/FormSetup.h"
#include "controls/Opening.h"
#include "shell/Unit1.h"

using namespace kavelon;

TForm4* Form4 = nullptr;

TForm4::TForm4()
    : ADOTable1(tableCursor(QStringLiteral("ADOTable1"), Form1->ADOConnection1.get(),
                            schema::journalTable)) {
    setUpForm(this, QStringLiteral("Form4"), QStringLiteral("Печать заказа"), {400, 300});
    openAtStart(*ADOTable1);
}

TForm4::~TForm4() = default;
