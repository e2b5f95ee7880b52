#pragma once
// Made pages as device-independent display lists: white boxes and single-line texts, positioned
// in hundredths of a millimetre from the paper's top-left corner. Drawn by the renderer onto the
// screen, a printer or a PDF file, and written to the page file as they are.

#include "report/ReportDefinition.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace kavelon::report {

// A white box, or a single-line text on its own opaque white box (x, y, width, height): every
// text element of a report is opaque, and one item for both halves the pages' memory.
struct PageItem {
    enum Kind : std::uint8_t { Fill, Text };
    Kind kind = Fill;
    Alignment alignment = Alignment::Left;
    std::uint16_t font = 0; // index into PageSet::fonts
    Length x = 0, y = 0, width = 0, height = 0;
    QString text;
    friend bool operator==(const PageItem&, const PageItem&) = default;
};

struct Page {
    std::vector<PageItem> items;
    friend bool operator==(const Page&, const Page&) = default;
};

struct PageSet {
    Length width = 21000;
    Length height = 29700;
    // The resolution the texts were measured at; every output draws them in that resolution's
    // pixels, scaled, so that each text keeps the width its box was given.
    double layoutDpi = 96;
    std::vector<FontSpec> fonts;
    std::vector<Page> pages;
    friend bool operator==(const PageSet&, const PageSet&) = default;

    // Bytes held by the pages (for measurements).
    std::size_t memoryUsage() const;
};

} // namespace kavelon::report
