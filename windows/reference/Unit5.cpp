#include "windows/reference/Unit5.h"

#include "windows/reference/Unit6.h"

using namespace kavelon;

TForm5* Form5 = nullptr;

namespace {

const ListLayout design{"Form5",
                        QStringLiteral("Клиенты"),
                        schema::clientsTable,
                        &schema::clients,
                        {701, 355},
                        QRect(0, 0, 833, 249),
                        249,
                        105,
                        16,
                        {{24, 75}, {110, 113}, {232, 75}, {320, 75}},
                        true};

} // namespace

TForm5::TForm5() : ReferenceListWindow(design) {}

ReferenceEntryDialog* TForm5::entryDialog() const {
    return Form6;
}
