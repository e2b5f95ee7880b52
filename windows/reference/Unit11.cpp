#include "windows/reference/Unit11.h"

#include "windows/reference/Unit12.h"

using namespace kavelon;

TForm11* Form11 = nullptr;

namespace {

const ListLayout design{.objectName = "Form11",
                        .caption = QStringLiteral("Водители"),
                        .table = schema::driversTable,
                        .columns = &schema::drivers,
                        .client = {.width = 758, .height = 316},
                        .gridPlace = {},
                        .gridHeight = 249,
                        .panelHeight = 65,
                        .buttonTop = 24,
                        .buttons = {{.left = 32, .width = 75},
                                    {.left = 120, .width = 99},
                                    {.left = 232, .width = 75},
                                    {.left = 320, .width = 75}},
                        .georgiaButtons = false};

} // namespace

TForm11::TForm11() : ReferenceListWindow(design) {}

ReferenceEntryDialog* TForm11::entryDialog() const {
    return Form12;
}
