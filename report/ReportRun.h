#pragma once
// One run of a report: moves the bound cursor to its first row and makes the pages, row by row,
// into display lists. Text widths are measured at the screen's resolution, so every output
// (screen, printer, page file) gets the same layout.

#include "report/Pages.h"
#include "report/ReportDefinition.h"

#include <QFont>
#include <QFontMetrics>
#include <functional>
#include <vector>

namespace kavelon {
class TableCursor;
}

namespace kavelon::report {

// Widths of single-line texts at one resolution, the way auto-size asks for them.
class TextMeasure {
public:
    explicit TextMeasure(double dotsPerInch);
    double dotsPerInch() const { return dpi_; }
    // The auto-sized width of the text in this font: its width in pixels plus one, in hundredths
    // of a millimetre.
    Length width(const FontSpec& font, const QString& text);
    // The font as drawn at a resolution and zoom (pixel size from points).
    static QFont qfont(const FontSpec& font, double pixelsPerPoint);

private:
    struct Entry {
        FontSpec spec;
        QFontMetrics metrics;
    };
    double dpi_;
    std::vector<Entry> cache_;
};

// The screen's logical resolution (96 where no screen is known).
double screenDotsPerInch();

class ReportRun {
public:
    enum class Stop { No, DropPage, EndPage };

    ReportRun(const ReportDefinition& definition, Orientation orientation, TableCursor* cursor,
              double measureDpi = screenDotsPerInch());

    // Asked before each row with the rows done and the rows in all: window messages are processed
    // there. DropPage stops without ending the open page (the preview was closed); EndPage stops
    // and ends it (printing was cancelled: what was made is still printed).
    std::function<Stop(int done, int rows)> beforeRow;
    // Told when a page is complete (its 1-based number); pages() holds it by then.
    std::function<void(int page)> pageMade;

    // Makes the pages; true when the run reached the end of the rows.
    bool run();
    const PageSet& pages() const { return pages_; }
    PageSet takePages() { return std::move(pages_); }

    // The vertical limit of the band area, in tenths of a millimetre.
    int bottomLimitTenths() const;

private:
    struct BoundValue {
        const TextElement* element;
        int field; // -1: the cursor has no such column
    };

    void printBand(int row);
    void startPage();
    void endPage();
    void addText(Page& page, const TextElement& element, Length left, Length top,
                 const QString& text);
    std::uint16_t fontIndex(const FontSpec& font);
    QString valueText(int row, int field) const;

    const ReportDefinition& definition_;
    Orientation orientation_;
    TableCursor* cursor_;
    TextMeasure measure_;
    std::vector<BoundValue> bound_;
    PageSet pages_;
    bool pageStarted_ = false;
    int positionTenths_ = 0;
};

} // namespace kavelon::report
