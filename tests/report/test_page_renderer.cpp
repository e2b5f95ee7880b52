// The renderer: texts run on unclipped, and a later item's white box hides what lies beneath it.

#include "report/PageRenderer.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace kavelon::report;

namespace {

// Dark pixels in columns [fromMm, toMm) of the rows [topMm, bottomMm) at 10 pixels per mm.
int darkPixels(const QImage& image, double fromMm, double toMm, double topMm, double bottomMm) {
    int dark = 0;
    for (int y = static_cast<int>(topMm * 10); y < static_cast<int>(bottomMm * 10); ++y)
        for (int x = static_cast<int>(fromMm * 10); x < static_cast<int>(toMm * 10); ++x)
            dark += qGray(image.pixel(x, y)) < 128;
    return dark;
}

} // namespace

TEST(PageRenderer, TextsRunOnAndLaterBoxesHideThem) {
    PageSet pages;
    pages.width = 10000; // 100 × 50 mm
    pages.height = 5000;
    pages.fonts = {{QStringLiteral("DejaVu Sans"), 10, false, Qt::black}};
    Page page;
    // A value 2 mm wide by design whose text is far wider, then the next column's empty box.
    page.items.push_back({PageItem::Text, Alignment::Left, 0, 1000, 1000, 200, 450,
                          QStringLiteral("ШШШШШШШШШШШШШШШШШШШШ")});
    page.items.push_back({PageItem::Text, Alignment::Left, 0, 3000, 1000, 1000, 450, QString()});
    // A centred text on its box, at the very top edge.
    page.items.push_back(
        {PageItem::Text, Alignment::Centre, 0, 4000, 0, 4000, 450, QStringLiteral("Печать")});

    QImage image(1000, 500, QImage::Format_RGB32);
    image.fill(QColor(200, 200, 200));
    QPainter painter(&image);
    drawPage(painter, pages, pages.pages.emplace_back(page), 10.0);
    painter.end();

    EXPECT_GT(darkPixels(image, 10, 30, 10, 14.5), 100); // the text before the box
    EXPECT_EQ(darkPixels(image, 30, 40, 10, 14.5), 0);   // hidden under the later white box
    EXPECT_GT(darkPixels(image, 40, 60, 10, 14.5), 50);  // and running on beyond it
    EXPECT_EQ(qGray(image.pixel(305, 140)), 255);        // the box is opaque white
    // The centred text lies around its box's centre (60 mm), its top at the sheet's edge.
    EXPECT_GT(darkPixels(image, 52, 60, 0, 4.5), 20);
    EXPECT_GT(darkPixels(image, 60, 68, 0, 4.5), 20);
    EXPECT_EQ(darkPixels(image, 40, 50, 0, 4.5), 0);
    EXPECT_EQ(darkPixels(image, 70, 80, 0, 4.5), 0);
}
