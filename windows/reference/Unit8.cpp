#include "windows/reference/Unit8.h"

#include "app/FormSetup.h"
#include "windows/reference/Unit7.h"

using namespace kavelon;

TForm8* Form8 = nullptr;

namespace {

EntryLayout design() {
    return {"Form8",
            QStringLiteral("Добавить населённый пункт"),
            schema::settlementsTable,
            {420, 182},
            pixelFont(QStringLiteral("Georgia"), 13, false),
            {{QStringLiteral("Наименование"),
              {35, 34},
              QStringLiteral("Наименование"),
              {168, 32, 161, 21}},
             {QStringLiteral("Растояние до НП"),
              {35, 77},
              QStringLiteral("Растояние до НП"),
              {167, 73, 162, 21}}},
            {136, 136, 75, 25},
            {232, 136, 75, 25},
            true};
}

} // namespace

TForm8::TForm8() : LabelledEntryDialog(design()) {}

kavelon::TableCursor& TForm8::listCursor() const {
    return *Form7->ADOTable1;
}
