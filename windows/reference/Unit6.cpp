#include "windows/reference/Unit6.h"

#include "app/FormSetup.h"
#include "windows/reference/Unit5.h"

using namespace kavelon;

TForm6* Form6 = nullptr;

namespace {

EntryLayout design() {
    return {
        "Form6",
        QStringLiteral("Добавить клиента"),
        schema::clientsTable,
        {356, 239},
        pixelFont(QStringLiteral("Georgia"), 13, true),
        {{QStringLiteral("Наименование"),
          {24, 24},
          QStringLiteral("Наименование"),
          {176, 24, 137, 21}},
         {QStringLiteral("ФИО Директора"),
          {24, 64},
          QStringLiteral("ФИО Директора"),
          {176, 64, 137, 21}},
         {QStringLiteral("Адрес"), {24, 98}, QStringLiteral("Адрес"), {176, 104, 137, 21}},
         {QStringLiteral("Телефон"), {24, 144}, QStringLiteral("Телефон"), {176, 144, 137, 21}}},
        {96, 200, 75, 25},
        {184, 200, 75, 25},
        false};
}

} // namespace

TForm6::TForm6() : LabelledEntryDialog(design()) {}

kavelon::TableCursor& TForm6::listCursor() const {
    return *Form5->ADOTable1;
}
