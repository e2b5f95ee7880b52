// Typed text into a field of each kind: a value or a ConversionError, and a stored date always
// one the database can hold.
#include "data/Errors.h"
#include "data/FieldText.h"

#include <cstdint>
#include <cstdlib>

using namespace kavelon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (FieldKind kind :
         {FieldKind::Integer, FieldKind::DateTime, FieldKind::Boolean, FieldKind::WideString}) {
        try {
            const Value v = fieldtext::parse(text, kind, QStringLiteral("Отправка"));
            if (v.type() == Value::Type::DateTime && !v.toDateTime().isStorable())
                std::abort(); // taken, and lost when stored
            (void)fieldtext::display(v, kind);
        } catch (const ConversionError&) {
        }
    }
    return 0;
}
