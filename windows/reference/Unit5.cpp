#include "windows/reference/Unit5.h"

#include "windows/reference/Unit6.h"

using namespace kavelon;

TForm5* Form5 = nullptr;

namespace {

const ListLayout design{.objectName = "Form5",
                        .caption = QStringLiteral("Клиенты"),
                        .table = schema::clientsTable,
                        .columns = &schema::clients,
                        .client = {.width = 701, .height = 355},
                        .gridPlace = {.left = 0, .top = 0, .width = 833, .height = 249},
                        .gridHeight = 249,
                        .panelHeight = 105,
                        .buttonTop = 16,
                        .buttons = {{.left = 24, .width = 75},
                                    {.left = 110, .width = 113},
                                    {.left = 232, .width = 75},
                                    {.left = 320, .width = 75}},
                        .georgiaButtons = true};

} // namespace

TForm5::TForm5() : ReferenceListWindow(design) {}

ReferenceEntryDialog* TForm5::entryDialog() const {
    return Form6;
}
