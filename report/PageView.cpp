#include "report/PageView.h"

#include "report/PageRenderer.h"
#include "report/ReportRun.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace kavelon::report {

PageView::PageView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PageView"));
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PageView::show(const PageSet* pages, int page, int zoomPercent) {
    pages_ = pages;
    page_ = page;
    zoom_ = zoomPercent;
    resize(sheetSize());
    update();
}

QSize PageView::sheetSize() const {
    if (!pages_)
        return {4, 4};
    const double pixelsPerHundredth = screenDotsPerInch() / 2540.0 * zoom_ / 100.0;
    return {static_cast<int>(std::lround(pages_->width * pixelsPerHundredth)) + 4,
            static_cast<int>(std::lround(pages_->height * pixelsPerHundredth)) + 4};
}

QSize PageView::sizeHint() const {
    return sheetSize();
}

void PageView::paintEvent(QPaintEvent*) {
    if (!pages_)
        return;
    QPainter painter(this);
    const QSize sheet = sheetSize();
    const int w = sheet.width() - 4, h = sheet.height() - 4;
    painter.fillRect(1, 1, w, h, Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, w + 1, h + 1);            // the outline
    painter.fillRect(w + 2, 2, 2, h + 2, Qt::black); // the shadow, right
    painter.fillRect(2, h + 2, w + 2, 2, Qt::black); // and bottom
    if (page_ >= 0 && page_ < static_cast<int>(pages_->pages.size())) {
        painter.setClipRect(1, 1, w, h);
        drawPage(painter, *pages_, pages_->pages[page_], screenDotsPerInch() / 25.4 * zoom_ / 100.0,
                 QPointF(1, 1));
    }
}

QIcon previewIcon(PreviewIcon which) {
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(30, 30, 30);
    const auto sheet = [&](QRectF r) {
        p.setPen(QPen(ink, 1));
        p.setBrush(Qt::white);
        p.drawRect(r);
    };
    const auto triangle = [&](double x, double dir) {
        QPainterPath path;
        path.moveTo(x, 10);
        path.lineTo(x + 6 * dir, 4);
        path.lineTo(x + 6 * dir, 16);
        path.closeSubpath();
        p.fillPath(path, ink);
    };
    const auto bar = [&](double x) { p.fillRect(QRectF(x, 4, 2, 12), ink); };
    const auto lens = [&](double x, double y) {
        p.setPen(QPen(ink, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(x, y), 4, 4);
        p.drawLine(QPointF(x + 3, y + 3), QPointF(x + 7, y + 7));
    };
    switch (which) {
    case PreviewIcon::ZoomFit:
        sheet({3.5, 2.5, 11, 15});
        lens(9, 9);
        break;
    case PreviewIcon::Zoom100:
        lens(8, 8);
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 5));
        p.drawText(QRectF(3, 3, 10, 10), Qt::AlignCenter, QStringLiteral("1"));
        break;
    case PreviewIcon::ZoomWidth:
        sheet({1.5, 4.5, 17, 11});
        p.setPen(QPen(ink, 1.5));
        p.drawLine(QPointF(4, 10), QPointF(16, 10));
        triangle(3, 1);
        triangle(17, -1);
        break;
    case PreviewIcon::First:
        bar(3);
        triangle(6, 1);
        triangle(11, 1);
        break;
    case PreviewIcon::Previous:
        triangle(7, 1);
        break;
    case PreviewIcon::Next:
        triangle(13, -1);
        break;
    case PreviewIcon::Last:
        triangle(9, -1);
        triangle(14, -1);
        bar(15);
        break;
    case PreviewIcon::Setup:
        sheet({5.5, 1.5, 9, 7});
        p.setBrush(QColor(160, 160, 160));
        p.drawRoundedRect(QRectF(1.5, 8.5, 17, 8), 2, 2);
        p.fillRect(QRectF(13, 11, 3, 2), QColor(0, 150, 0));
        break;
    case PreviewIcon::Print:
        sheet({5.5, 1.5, 9, 7});
        p.setBrush(QColor(160, 160, 160));
        p.drawRoundedRect(QRectF(1.5, 8.5, 17, 7), 2, 2);
        sheet({5.5, 13.5, 9, 5});
        break;
    case PreviewIcon::Save:
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(40, 70, 160));
        p.drawRect(QRectF(2.5, 2.5, 15, 15));
        p.fillRect(QRectF(5, 3, 10, 6), Qt::white);
        p.fillRect(QRectF(6, 12, 8, 5), QColor(200, 200, 200));
        break;
    case PreviewIcon::Load:
        p.setPen(QPen(ink, 1));
        p.setBrush(QColor(230, 190, 80));
        p.drawRect(QRectF(1.5, 6.5, 17, 11));
        p.drawRect(QRectF(1.5, 4.5, 7, 2));
        break;
    case PreviewIcon::Pdf:
        sheet({3.5, 1.5, 13, 17});
        p.fillRect(QRectF(1, 9, 18, 6), QColor(190, 30, 30));
        p.setPen(Qt::white);
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 4, QFont::Bold));
        p.drawText(QRectF(1, 9, 18, 6), Qt::AlignCenter, QStringLiteral("PDF"));
        break;
    }
    return QIcon(pixmap);
}

} // namespace kavelon::report
