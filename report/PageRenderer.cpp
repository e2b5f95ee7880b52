#include "report/PageRenderer.h"

#include "report/ReportRun.h"

#include <QPainter>

namespace kavelon::report {

void drawPage(QPainter& painter, const PageSet& pages, const Page& page, double pixelsPerMillimetre,
              QPointF origin) {
    // Everything is drawn in the pixels of the resolution the run measured the texts at, with
    // the fonts it measured them in, and the whole page is scaled onto the device. Glyph
    // advances then scale with the page: a text takes the same share of its box at every zoom
    // and on paper, where fonts picked anew for each size would grow or shrink by their hinting
    // and run under the next column's box.
    const double layoutPixelsPerMillimetre = pages.layoutDpi / 25.4;
    const double toLayout = layoutPixelsPerMillimetre / 100.0; // from hundredths of a mm
    const auto rect = [&](const PageItem& i) {
        return QRectF(i.x * toLayout, i.y * toLayout, i.width * toLayout, i.height * toLayout);
    };
    std::vector<QFont> fonts;
    fonts.reserve(pages.fonts.size());
    for (const FontSpec& f : pages.fonts)
        fonts.push_back(TextMeasure::qfont(f, pages.layoutDpi / 72.0));

    painter.save();
    painter.translate(origin);
    const double scale = pixelsPerMillimetre / layoutPixelsPerMillimetre;
    painter.scale(scale, scale);
    painter.setPen(Qt::NoPen);
    for (const PageItem& item : page.items) {
        painter.fillRect(rect(item), Qt::white); // a text's box is opaque as well
        if (item.kind == PageItem::Fill)
            continue;
        if (item.text.isEmpty() || item.font >= fonts.size())
            continue;
        painter.setFont(fonts[item.font]);
        painter.setPen(pages.fonts[item.font].colour);
        const int align = Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip |
                          (item.alignment == Alignment::Centre ? Qt::AlignHCenter : Qt::AlignLeft);
        painter.drawText(rect(item), align, item.text);
    }
    painter.restore();
}

} // namespace kavelon::report
