#include "windows/reference/Unit8.h"

#include "app/FormSetup.h"
#include "windows/reference/Unit7.h"

using namespace kavelon;

TForm8* Form8 = nullptr;

namespace {

EntryLayout design() {
    return {.objectName = "Form8",
            .caption = QStringLiteral("Добавить населённый пункт"),
            .table = schema::settlementsTable,
            .client = {.width = 420, .height = 182},
            .labelFont = pixelFont(QStringLiteral("Georgia"), 13, false),
            .rows = {{.label = QStringLiteral("Наименование"),
                      .labelAt = {.left = 35, .top = 34},
                      .field = QStringLiteral("Наименование"),
                      .edit = {.left = 168, .top = 32, .width = 161, .height = 21}},
                     {.label = QStringLiteral("Растояние до НП"),
                      .labelAt = {.left = 35, .top = 77},
                      .field = QStringLiteral("Растояние до НП"),
                      .edit = {.left = 167, .top = 73, .width = 162, .height = 21}}},
            .add = {.left = 136, .top = 136, .width = 75, .height = 25},
            .cancel = {.left = 232, .top = 136, .width = 75, .height = 25},
            .georgiaButtons = true};
}

} // namespace

TForm8::TForm8() : LabelledEntryDialog(design()) {}

kavelon::TableCursor& TForm8::listCursor() const {
    return *Form7->ADOTable1;
}
