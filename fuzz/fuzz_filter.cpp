// Filter and sort texts: anything may be refused with DatabaseError; nothing else may happen.
#include "data/Errors.h"
#include "data/Filter.h"
#include "data/RowStore.h"
#include "data/Schema.h"
#include "data/SortOrder.h"

#include <cstdint>

using namespace kavelon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::vector<ColumnSchema>& fields = schema::journal().columns;
    try {
        const RowFilter filter = RowFilter::parse(text, fields);
        (void)filter;
    } catch (const DatabaseError&) {
    }
    try {
        const SortOrder sort = SortOrder::parse(text, fields);
        (void)sort;
    } catch (const DatabaseError&) {
    }
    return 0;
}
