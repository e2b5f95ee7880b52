#include "windows/reference/Unit10.h"

#include "app/FormSetup.h"
#include "windows/reference/Unit9.h"

using namespace kavelon;

TForm10* Form10 = nullptr;

namespace {

EntryLayout design() {
    return {"Form10",
            QStringLiteral("Добавить транспортное средство"),
            schema::vehiclesTable,
            {449, 286},
            pixelFont(QStringLiteral("Georgia"), 13, true),
            {{QStringLiteral("Марка"), {48, 40}, QStringLiteral("Марка"), {256, 32, 137, 21}},
             {QStringLiteral("Госномер"), {48, 80}, QStringLiteral("Госномер"), {256, 77, 137, 21}},
             {QStringLiteral("Грузоподъёмность (кг)"),
              {48, 120},
              QStringLiteral("Грузоподъёмность (кг)"),
              {256, 118, 137, 21}},
             {QStringLiteral("Расход (л/100км)"),
              {48, 160},
              QStringLiteral("Расход (л/100км)"),
              {256, 157, 137, 21}},
             {QStringLiteral("Цена перевозки 1кг/1км"),
              {48, 200},
              QStringLiteral("Цена перев 1кг/1км"),
              {257, 196, 136, 21}}},
            {136, 248, 75, 25},
            {232, 248, 75, 25},
            true};
}

} // namespace

TForm10::TForm10() : LabelledEntryDialog(design()) {}

kavelon::TableCursor& TForm10::listCursor() const {
    return *Form9->ADOTable1;
}
