#include "windows/reference/Unit7.h"

#include "windows/reference/Unit8.h"

using namespace kavelon;

TForm7* Form7 = nullptr;

namespace {

const ListLayout design{"Form7",
                        QStringLiteral("Населённые пункты"),
                        schema::settlementsTable,
                        &schema::settlements,
                        {530, 447},
                        QRect(),
                        337,
                        109,
                        24,
                        {{40, 75}, {128, 113}, {256, 75}, {344, 75}},
                        true};

} // namespace

TForm7::TForm7() : ReferenceListWindow(design) {}

ReferenceEntryDialog* TForm7::entryDialog() const {
    return Form8;
}
