#include "windows/reference/Unit9.h"

#include "windows/reference/Unit10.h"

using namespace kavelon;

TForm9* Form9 = nullptr;

namespace {

const ListLayout design{"Form9",
                        QStringLiteral("Транспортные средства"),
                        schema::vehiclesTable,
                        &schema::vehicles,
                        {694, 339},
                        QRect(),
                        281,
                        57,
                        16,
                        {{24, 75}, {112, 107}, {232, 75}, {320, 75}},
                        true};

} // namespace

TForm9::TForm9() : ReferenceListWindow(design) {}

ReferenceEntryDialog* TForm9::entryDialog() const {
    return Form10;
}
