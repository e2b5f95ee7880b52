#include "windows/reference/Unit7.h"

#include "windows/reference/Unit8.h"

using namespace kavelon;

TForm7* Form7 = nullptr;

namespace {

const ListLayout design{.objectName = "Form7",
                        .caption = QStringLiteral("Населённые пункты"),
                        .table = schema::settlementsTable,
                        .columns = &schema::settlements,
                        .client = {.width = 530, .height = 447},
                        .gridPlace = {},
                        .gridHeight = 337,
                        .panelHeight = 109,
                        .buttonTop = 24,
                        .buttons = {{.left = 40, .width = 75},
                                    {.left = 128, .width = 113},
                                    {.left = 256, .width = 75},
                                    {.left = 344, .width = 75}},
                        .georgiaButtons = true};

} // namespace

TForm7::TForm7() : ReferenceListWindow(design) {}

ReferenceEntryDialog* TForm7::entryDialog() const {
    return Form8;
}
