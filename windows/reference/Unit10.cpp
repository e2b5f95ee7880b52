#include "windows/reference/Unit10.h"

#include "app/FormSetup.h"
#include "windows/reference/Unit9.h"

using namespace kavelon;

TForm10* Form10 = nullptr;

namespace {

EntryLayout design() {
    return {.objectName = "Form10",
            .caption = QStringLiteral("Добавить транспортное средство"),
            .table = schema::vehiclesTable,
            .client = {.width = 449, .height = 286},
            .labelFont = pixelFont(QStringLiteral("Georgia"), 13, true),
            .rows = {{.label = QStringLiteral("Марка"),
                      .labelAt = {.left = 48, .top = 40},
                      .field = QStringLiteral("Марка"),
                      .edit = {.left = 256, .top = 32, .width = 137, .height = 21}},
                     {.label = QStringLiteral("Госномер"),
                      .labelAt = {.left = 48, .top = 80},
                      .field = QStringLiteral("Госномер"),
                      .edit = {.left = 256, .top = 77, .width = 137, .height = 21}},
                     {.label = QStringLiteral("Грузоподъёмность (кг)"),
                      .labelAt = {.left = 48, .top = 120},
                      .field = QStringLiteral("Грузоподъёмность (кг)"),
                      .edit = {.left = 256, .top = 118, .width = 137, .height = 21}},
                     {.label = QStringLiteral("Расход (л/100км)"),
                      .labelAt = {.left = 48, .top = 160},
                      .field = QStringLiteral("Расход (л/100км)"),
                      .edit = {.left = 256, .top = 157, .width = 137, .height = 21}},
                     {.label = QStringLiteral("Цена перевозки 1кг/1км"),
                      .labelAt = {.left = 48, .top = 200},
                      .field = QStringLiteral("Цена перев 1кг/1км"),
                      .edit = {.left = 257, .top = 196, .width = 136, .height = 21}}},
            .add = {.left = 136, .top = 248, .width = 75, .height = 25},
            .cancel = {.left = 232, .top = 248, .width = 75, .height = 25},
            .georgiaButtons = true};
}

} // namespace

TForm10::TForm10() : LabelledEntryDialog(design()) {}

kavelon::TableCursor& TForm10::listCursor() const {
    return *Form9->ADOTable1;
}
