#pragma once
// The page file of "Save Report" and "Load Report" (extension .kvpages): the made pages as they
// are, so that a loaded file shows and prints exactly what was saved.
//
// Layout, little-endian throughout:
//   magic    8 bytes  "KVPAGES\n"
//   version  u32      2 (version 1 lacks the resolution and was laid out at 96 dots per inch)
//   width    i32      paper width, hundredths of a millimetre (1 … 100000)
//   height   i32      paper height, the same
//   dpi      i32      the resolution the texts were measured at, hundredths (1000 … 240000)
//   fonts    u32      count (1 … 64), then per font:
//              family  string (u32 byte count ≤ 256, then UTF-8)
//              size    i32 hundredths of a point (1 … 100000)
//              bold    u8 (0 or 1)
//              colour  u32 0x00RRGGBB
//   pages    u32      count (1 … 1000000), then per page:
//              items u32 count (≤ 100000), then per item:
//                kind      u8 (0 white box, 1 text on its white box)
//                alignment u8 (0 left, 1 centred)
//                font      u16 (< font count)
//                x, y, width, height  i32 each (-100000 … 100000; width, height ≥ 0)
//                text      string (u32 byte count ≤ 4096, then UTF-8), texts only
// Nothing may follow the last page. The loader checks every count against the bytes that remain
// before it allocates, so a damaged or hostile file is refused without a large allocation.

#include "data/Errors.h"
#include "report/Pages.h"

#include <QByteArray>
#include <QString>

namespace kavelon::report {

KAVELON_ERROR_CLASS(PageFileError, Error)

inline constexpr char pageFileExtension[] = "kvpages";
// The one file type of the save and open dialogs.
QString pageFileFilter();

QByteArray encodePages(const PageSet& pages);
// Throws PageFileError with a plain message when the bytes are not a sound page file.
PageSet decodePages(const QByteArray& bytes);

// Whole files; throw PageFileError (cannot write, cannot read, not a page file, damaged).
void savePageFile(const QString& fileName, const PageSet& pages);
PageSet loadPageFile(const QString& fileName);

} // namespace kavelon::report
