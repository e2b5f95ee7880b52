#pragma once
// A report definition: the paper, margins, page elements drawn at the end of every page, and one
// detail band bound to a cursor's columns by name. Lengths are kept in hundredths of a
// millimetre so that positions such as 82.81 mm stay exact.

#include <QColor>
#include <QString>
#include <vector>

namespace kavelon::report {

// Hundredths of a millimetre.
using Length = int;

struct FontSpec {
    QString family;
    double pointSize = 10;
    bool bold = false;
    QColor colour = Qt::black;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

enum class Alignment { Left, Centre };

// One single-line text on an opaque white box, auto-sized to its text.
struct TextElement {
    QString name;   // "ReportLabel1", "ReportDBText3" …
    QString text;   // fixed text of a page element
    QString column; // bound column of a band value (empty for a page element)
    Length left = 0, top = 0, height = 0, width = 0;
    FontSpec font;
    Alignment alignment = Alignment::Left;
};

struct DetailBand {
    QString name;
    Length height = 0;
    Length width = 0;
    bool printIfEmpty = true;
    std::vector<TextElement> values; // positions from the band's top-left corner
};

enum class Orientation { Portrait, Landscape };

struct ReportDefinition {
    Length paperWidth = 21000; // portrait; landscape swaps the sides
    Length paperHeight = 29700;
    Length topMargin = 2000, bottomMargin = 1000, leftMargin = 1000, rightMargin = 1000;
    FontSpec defaultFont{QStringLiteral("Arial"), 10, false, Qt::black};
    QString title;
    bool showProgress = true;
    std::vector<TextElement> pageElements; // positions from the paper's top-left corner
    DetailBand detail;
};

// The settings a report keeps for printing and for the page size of later runs.
struct PrinterSettings {
    QString printerName; // empty: no printer on the system
    int copies = 1;
    bool duplex = false;
    Orientation orientation = Orientation::Portrait;
    int fromPage = 0; // 0: all pages
    int toPage = 0;
    bool pageInRange(int page) const {
        return fromPage == 0 || (page >= fromPage && page <= toPage);
    }
};

} // namespace kavelon::report
