// Clicks on cells, the wheel, and dragging titles: a title's right edge changes the column's
// width, the title itself moves the column. Neither is stored anywhere.

#include "app/Guard.h"
#include "controls/GridEditor.h"
#include "controls/TDBGrid.h"

#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>

namespace kavelon {

namespace {
const int edgeGrip = 3;      // pixels either side of a title's right edge that grip it
const int dragThreshold = 4; // pixels a pressed title must travel before it moves
} // namespace

int TDBGrid::columnAt(int x) const {
    if (x <= indicatorWidth_)
        return -1;
    for (int col = 0; col < columnCount(); ++col) {
        const int left = columnLeft(col);
        if (x >= left && x <= left + columns_[std::size_t(col)].width)
            return col;
    }
    return -1;
}

int TDBGrid::rowAt(int y) const {
    if (y <= titleHeight_)
        return -1;
    const int row = topRow_ + (y - titleHeight_ - 1) / (rowHeight_ + 1);
    const TableCursor* c = cursor();
    return c && row < c->rowCount() ? row : -1;
}

int TDBGrid::resizeEdgeAt(const QPoint& pos) const {
    if (pos.y() > titleHeight_)
        return -1;
    for (int col = 0; col < columnCount(); ++col) {
        const int edge = columnLeft(col + 1) - 1;
        if (edge > indicatorWidth_ && std::abs(pos.x() - edge) <= edgeGrip)
            return col;
    }
    return -1;
}

void TDBGrid::mousePressEvent(QMouseEvent* event) {
    guard([&] { mousePress(event); });
}
void TDBGrid::mouseMoveEvent(QMouseEvent* event) {
    guard([&] { mouseMove(event); });
}
void TDBGrid::mouseReleaseEvent(QMouseEvent* event) {
    guard([&] { mouseRelease(event); });
}

// A double click is a second click on the now current cell.
void TDBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    guard([&] { mousePress(event); });
}

void TDBGrid::wheelEvent(QWheelEvent* event) {
    guard([&] {
        editing_.moveBy(-(event->angleDelta().y() / 120));
        event->accept();
    });
}

void TDBGrid::mousePress(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const bool hadFocus = hasFocus() || editor_->hasFocus();
    if (!hadFocus)
        setFocus(Qt::MouseFocusReason);
    if (!active())
        return;
    const QPoint pos = event->position().toPoint();
    if (pos.y() <= titleHeight_) {
        const int edge = resizeEdgeAt(pos);
        drag_ = edge >= 0 ? Drag::Resizing : Drag::Pending;
        dragColumn_ = edge >= 0 ? edge : columnAt(pos.x());
        dragStart_ = pos;
        if (dragColumn_ < 0)
            drag_ = Drag::None;
        return;
    }
    const int row = rowAt(pos.y());
    if (row < 0)
        return;
    const int column = columnAt(pos.x());
    if (column < 0 && pos.x() > indicatorWidth_)
        return; // right of the last column
    editing_.click(row, column, hadFocus);
}

void TDBGrid::mouseMove(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    switch (drag_) {
    case Drag::None:
        viewport()->setCursor(resizeEdgeAt(pos) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
        return;
    case Drag::Resizing:
        setColumnWidth(dragColumn_, pos.x() - columnLeft(dragColumn_));
        return;
    case Drag::Pending:
        if ((pos - dragStart_).manhattanLength() < dragThreshold)
            return;
        drag_ = Drag::Moving;
        [[fallthrough]];
    case Drag::Moving: {
        const int over = columnAt(pos.x());
        dragTarget_ = over >= 0 ? over : (pos.x() <= indicatorWidth_ ? 0 : columnCount() - 1);
        viewport()->update();
        return;
    }
    }
}

void TDBGrid::mouseRelease(QMouseEvent* event) {
    const Drag drag = drag_;
    drag_ = Drag::None;
    if (drag == Drag::Moving && dragColumn_ >= 0 && dragTarget_ >= 0)
        moveColumn(dragColumn_, dragTarget_);
    dragColumn_ = dragTarget_ = -1;
    (void)event;
    viewport()->update();
}

} // namespace kavelon
