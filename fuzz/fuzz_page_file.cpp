// The page file reader: sound pages or PageFileError, nothing else.
#include "report/PageFile.h"

#include <cstdint>

using namespace kavelon::report;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const PageSet pages =
            decodePages(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
        (void)encodePages(pages);
    } catch (const PageFileError&) {
    }
    return 0;
}
