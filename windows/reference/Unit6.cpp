#include "windows/reference/Unit6.h"

#include "app/FormSetup.h"
#include "windows/reference/Unit5.h"

using namespace kavelon;

TForm6* Form6 = nullptr;

namespace {

EntryLayout design() {
    return {.objectName = "Form6",
            .caption = QStringLiteral("Добавить клиента"),
            .table = schema::clientsTable,
            .client = {.width = 356, .height = 239},
            .labelFont = pixelFont(QStringLiteral("Georgia"), 13, true),
            .rows = {{.label = QStringLiteral("Наименование"),
                      .labelAt = {.left = 24, .top = 24},
                      .field = QStringLiteral("Наименование"),
                      .edit = {.left = 176, .top = 24, .width = 137, .height = 21}},
                     {.label = QStringLiteral("ФИО Директора"),
                      .labelAt = {.left = 24, .top = 64},
                      .field = QStringLiteral("ФИО Директора"),
                      .edit = {.left = 176, .top = 64, .width = 137, .height = 21}},
                     {.label = QStringLiteral("Адрес"),
                      .labelAt = {.left = 24, .top = 98},
                      .field = QStringLiteral("Адрес"),
                      .edit = {.left = 176, .top = 104, .width = 137, .height = 21}},
                     {.label = QStringLiteral("Телефон"),
                      .labelAt = {.left = 24, .top = 144},
                      .field = QStringLiteral("Телефон"),
                      .edit = {.left = 176, .top = 144, .width = 137, .height = 21}}},
            .add = {.left = 96, .top = 200, .width = 75, .height = 25},
            .cancel = {.left = 184, .top = 200, .width = 75, .height = 25},
            .georgiaButtons = false};
}

} // namespace

TForm6::TForm6() : LabelledEntryDialog(design()) {}

kavelon::TableCursor& TForm6::listCursor() const {
    return *Form5->ADOTable1;
}
