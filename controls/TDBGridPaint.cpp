// Drawing the grid: the title row, the indicator column and the rows in view. Only the rows that
// fit the viewport are read from the cursor, whatever its size.

#include "app/Guard.h"
#include "controls/GridEditor.h"
#include "controls/TDBGrid.h"
#include "data/FieldText.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>

namespace kavelon {

namespace {

const QColor lineColour(192, 192, 192);

// A fixed cell (title or indicator) drawn as a raised button face.
void paintFixedCell(QPainter& p, const QRect& r, const QPalette& palette) {
    p.fillRect(r, palette.button());
    p.setPen(palette.light().color());
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(palette.dark().color());
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

} // namespace

void TDBGrid::paintEvent(QPaintEvent* event) {
    guard([&] {
        QPainter p(viewport());
        const QRect area = viewport()->rect();
        p.fillRect(event->rect(), palette().base());
        paintRows(p, area);
        paintTitles(p, area);
    });
}

void TDBGrid::paintTitles(QPainter& p, const QRect& area) const {
    const QRect corner(0, 0, indicatorWidth_ + 1, titleHeight_ + 1);
    paintFixedCell(p, corner, palette());
    p.save();
    p.setClipRect(QRect(indicatorWidth_ + 1, 0, area.width(), titleHeight_ + 1));
    p.setFont(titleFont_);
    for (int col = 0; col < columnCount(); ++col) {
        const QRect r = titleRect(col);
        if (r.right() < indicatorWidth_)
            continue;
        if (r.left() > area.right())
            break;
        paintFixedCell(p, r.adjusted(-1, 0, 0, 0), palette());
        p.setPen(palette().buttonText().color());
        const QString title = columnTitle(col);
        p.save();
        p.setClipRect(r.adjusted(0, 0, -1, 0), Qt::IntersectClip);
        p.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, title);
        p.restore();
    }
    if (dragColumn_ >= 0 && drag_ == Drag::Moving && dragTarget_ >= 0) {
        // Where the dragged title will land.
        const int x = dragTarget_ > dragColumn_ ? titleRect(dragTarget_).right() + 1
                                                : titleRect(dragTarget_).left() - 1;
        p.fillRect(QRect(x - 1, 0, 3, titleHeight_ + 1), palette().highlight());
    }
    p.restore();
}

void TDBGrid::paintRows(QPainter& p, const QRect& area) const {
    TableCursor* c = cursor();
    const int rows = c && c->Active() ? c->rowCount() : 0;
    const int top = titleHeight_ + 1;
    const int firstRow = topRow_;
    const int lastRow = std::min(rows - 1, topRow_ + (area.height() - top) / (rowHeight_ + 1));
    const bool focused = hasFocus() || editor_->hasFocus();
    const int current = c && c->Active() ? c->currentIndex() : -1;
    const int dataRight = std::min(area.right(), columnLeft(columnCount()) - 1);
    const int rowsBottom = rowTop(lastRow + 1) - 1;

    p.save();
    p.setFont(font());
    // Cells, clipped right of the indicator.
    p.setClipRect(QRect(indicatorWidth_ + 1, top, area.width(), area.height()));
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = 0; col < columnCount(); ++col) {
            const QRect cell = cellRect(row, col);
            if (cell.right() < indicatorWidth_)
                continue;
            if (cell.left() > area.right())
                break;
            const Field& field = c->Fields(columns_[std::size_t(col)].field);
            const bool isCurrent = row == current && col == currentColumn();
            if (isCurrent && focused) {
                p.fillRect(cell, palette().highlight());
                p.setPen(palette().highlightedText().color());
            } else {
                p.setPen(palette().text().color());
            }
            const QString text = fieldtext::display(c->valueAt(row, field.index()), field.kind());
            p.save();
            p.setClipRect(cell, Qt::IntersectClip);
            p.drawText(cell.adjusted(2, 0, -2, 0), int(fieldtext::alignment(field.kind())), text);
            p.restore();
        }
    }
    // Lines: one after each column and below each row.
    p.setPen(lineColour);
    if (rows > 0) {
        for (int col = 0; col < columnCount(); ++col) {
            const int x = columnLeft(col + 1) - 1;
            if (x > area.right())
                break;
            p.drawLine(x, top, x, rowsBottom);
        }
        for (int row = firstRow; row <= lastRow; ++row) {
            const int y = rowTop(row + 1) - 1;
            p.drawLine(indicatorWidth_ + 1, y, dataRight, y);
        }
    }
    p.restore();

    // The indicator column, fixed at the left.
    for (int row = firstRow; row <= lastRow; ++row) {
        const QRect cell(0, rowTop(row) - 1, indicatorWidth_ + 1, rowHeight_ + 2);
        paintFixedCell(p, cell, palette());
        if (row == current)
            paintIndicator(p, cell, row);
    }
}

// The current row's mark: an arrow while browsing, an I-beam while its fields are being changed,
// an asterisk on a new row.
void TDBGrid::paintIndicator(QPainter& p, const QRect& cell, int) const {
    const TableCursor* c = cursor();
    if (!c)
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(palette().buttonText().color());
    p.setBrush(palette().buttonText());
    const QPoint centre = cell.center();
    const int h = std::max(3, std::min(cell.height(), cell.width()) / 3);
    switch (c->State()) {
    case dsBrowse: {
        const QPolygon arrow({QPoint(centre.x() - h / 2, centre.y() - h),
                              QPoint(centre.x() + h / 2 + 1, centre.y()),
                              QPoint(centre.x() - h / 2, centre.y() + h)});
        p.drawPolygon(arrow);
        break;
    }
    case dsEdit: {
        const int x = centre.x();
        p.drawLine(x, centre.y() - h, x, centre.y() + h);
        p.drawLine(x - 2, centre.y() - h, x + 2, centre.y() - h);
        p.drawLine(x - 2, centre.y() + h, x + 2, centre.y() + h);
        break;
    }
    case dsInsert: {
        const int x = centre.x(), y = centre.y();
        p.drawLine(x, y - h, x, y + h);
        p.drawLine(x - h, y - h / 2, x + h, y + h / 2);
        p.drawLine(x - h, y + h / 2, x + h, y - h / 2);
        break;
    }
    default:
        break;
    }
    p.restore();
}

} // namespace kavelon
