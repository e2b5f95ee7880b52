#include "journal/Unit2.h"

#include "controls/FormSetup.h"
#include "controls/ModalShowing.h"
#include "controls/Opening.h"
#include "shell/Unit1.h"

using namespace kavelon;

TForm2* Form2 = nullptr;

TForm2::TForm2()
    : ADOTable1(tableCursor(QStringLiteral("ADOTable1"), Form1->ADOConnection1.get(),
                            schema::journalTable, schema::journal().columns)) {
    setUpForm(this, QStringLiteral("Form2"), QStringLiteral("Журнал"), {822, 633});
    setFixedPlace(this, {96, 36});
    openAtStart(*ADOTable1);
}

TForm2::~TForm2() = default;
