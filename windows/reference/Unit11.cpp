#include "windows/reference/Unit11.h"

#include "windows/reference/Unit12.h"

using namespace kavelon;

TForm11* Form11 = nullptr;

namespace {

const ListLayout design{"Form11",
                        QStringLiteral("Водители"),
                        schema::driversTable,
                        &schema::drivers,
                        {758, 316},
                        QRect(),
                        249,
                        65,
                        24,
                        {{32, 75}, {120, 99}, {232, 75}, {320, 75}},
                        false};

} // namespace

TForm11::TForm11() : ReferenceListWindow(design) {}

ReferenceEntryDialog* TForm11::entryDialog() const {
    return Form12;
}
