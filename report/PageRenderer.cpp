#include "report/PageRenderer.h"

#include "report/ReportRun.h"

#include <QPainter>

namespace kavelon::report {

void drawPage(QPainter& painter, const PageSet& pages, const Page& page, double pixelsPerMillimetre,
              QPointF origin) {
    const double scale = pixelsPerMillimetre / 100.0; // display lists are in hundredths of a mm
    const double pixelsPerPoint = pixelsPerMillimetre * 25.4 / 72.0;
    const auto rect = [&](const PageItem& i) {
        return QRectF(origin.x() + i.x * scale, origin.y() + i.y * scale, i.width * scale,
                      i.height * scale);
    };
    std::vector<QFont> fonts;
    fonts.reserve(pages.fonts.size());
    for (const FontSpec& f : pages.fonts)
        fonts.push_back(TextMeasure::qfont(f, pixelsPerPoint));

    painter.save();
    painter.setPen(Qt::NoPen);
    for (const PageItem& item : page.items) {
        if (item.kind == PageItem::Fill) {
            painter.fillRect(rect(item), Qt::white);
            continue;
        }
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
