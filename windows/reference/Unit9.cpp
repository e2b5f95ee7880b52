#include "windows/reference/Unit9.h"

#include "windows/reference/Unit10.h"

using namespace kavelon;

TForm9* Form9 = nullptr;

namespace {

const ListLayout design{.objectName = "Form9",
                        .caption = QStringLiteral("Транспортные средства"),
                        .table = schema::vehiclesTable,
                        .columns = &schema::vehicles,
                        .client = {.width = 694, .height = 339},
                        .gridPlace = {},
                        .gridHeight = 281,
                        .panelHeight = 57,
                        .buttonTop = 16,
                        .buttons = {{.left = 24, .width = 75},
                                    {.left = 112, .width = 107},
                                    {.left = 232, .width = 75},
                                    {.left = 320, .width = 75}},
                        .georgiaButtons = true};

} // namespace

TForm9::TForm9() : ReferenceListWindow(design) {}

ReferenceEntryDialog* TForm9::entryDialog() const {
    return Form10;
}
