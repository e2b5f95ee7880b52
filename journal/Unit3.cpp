#include "journal/Unit3.h"

#include "controls/FormSetup.h"
#include "controls/Opening.h"
#include "shell/Unit1.h"

using namespace kavelon;

TForm3* Form3 = nullptr;

TForm3::TForm3()
    : ADOTable1(tableCursor(QStringLiteral("ADOTable1"), Form1->ADOConnection1.get(),
                            schema::journalTable)),
      ADOTable2(tableCursor(QStringLiteral("ADOTable2"), Form1->ADOConnection1.get(),
                            schema::settlementsTable)),
      ADOTable3(tableCursor(QStringLiteral("ADOTable3"), Form1->ADOConnection1.get(),
                            schema::clientsTable)),
      ADOTable4(tableCursor(QStringLiteral("ADOTable4"), Form1->ADOConnection1.get(),
                            schema::driversTable)),
      ADOTable5(tableCursor(QStringLiteral("ADOTable5"), Form1->ADOConnection1.get(),
                            schema::vehiclesTable)) {
    setUpForm(this, QStringLiteral("Form3"), QStringLiteral("Новый заказ"), {384, 387});
    openAtStart(*ADOTable1);
    openAtStart(*ADOTable2);
    openAtStart(*ADOTable3);
    openAtStart(*ADOTable4);
    openAtStart(*ADOTable5);
}

TForm3::~TForm3() = default;
