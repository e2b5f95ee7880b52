#include "controls/LookupList.h"

#include "app/Guard.h"
#include "controls/ItemViewAccessible.h"
#include "controls/TDBLookupComboBox.h"
#include "data/FieldText.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

namespace kavelon {

namespace {
constexpr int maxRowsShown = 7;
constexpr int frameWidth = 1;
} // namespace

LookupList::LookupList(TDBLookupComboBox* box)
    : QWidget(box, Qt::Popup | Qt::FramelessWindowHint), box_(box),
      scrollBar_(new QScrollBar(Qt::Vertical, this)) {
    setObjectName(box->objectName() + QStringLiteral("List"));
    setAttribute(Qt::WA_WindowPropagation);
    setMouseTracking(false);
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        top_ = value;
        update();
    });
    accessibility::install();
    dragScroll_.setInterval(50);
    connect(&dragScroll_, &QTimer::timeout, this,
            [this] { guard([&] { box_->moveHighlightBy(dragStep_); }); });
}

int LookupList::rowCount() const {
    const TableCursor* cursor = box_->listCursor();
    return cursor ? cursor->rowCount() : 0;
}

int LookupList::rowHeight() const {
    return fontMetrics().height() + 2;
}

int LookupList::visibleRows() const {
    const int rows = rowCount();
    return rows > 0 && rows < maxRowsShown ? rows : maxRowsShown;
}

int LookupList::textWidth() const {
    return width() - 2 * frameWidth - (scrollBar_->isVisible() ? scrollBar_->width() : 0);
}

std::vector<int> LookupList::columnEdges() const {
    std::vector<int> edges;
    const std::vector<Field*> fields = box_->listFields();
    const int right = frameWidth + textWidth();
    const int zero = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    int left = frameWidth;
    for (std::size_t i = 0; i < fields.size() && left < right; ++i) {
        edges.push_back(left);
        left += i + 1 < fields.size() ? fields[i]->DisplayWidth() * zero + 4 : right - left;
    }
    edges.push_back(qMin(left, right));
    return edges;
}

QString LookupList::rowText(int row) const {
    const TableCursor* cursor = box_->listCursor();
    if (!cursor || row < 0 || row >= rowCount())
        return {};
    QStringList texts;
    for (const Field* f : box_->listFields())
        texts << fieldtext::display(cursor->valueAt(row, f->index()), f->kind());
    return texts.join(QStringLiteral(", "));
}

bool LookupList::rowHighlighted(int row) const {
    const TableCursor* cursor = box_->listCursor();
    const Field* key = box_->listKeyField();
    return cursor && key && box_->hasListValue_ && row >= 0 && row < rowCount() &&
           box_->keyMatches(cursor->valueAt(row, key->index()), box_->listValue_);
}

int LookupList::highlightedRow() const {
    const TableCursor* cursor = box_->listCursor();
    const int row = cursor ? cursor->currentIndex() : -1;
    return rowHighlighted(row) ? row : -1;
}

QRect LookupList::rowRect(int row) const {
    if (row < top_ || row >= top_ + visibleRows() || row >= rowCount())
        return {};
    return QRect(frameWidth, frameWidth + (row - top_) * rowHeight(), textWidth(), rowHeight());
}

int LookupList::rowAt(const QPoint& point) const {
    if (point.x() < frameWidth || point.x() >= frameWidth + textWidth() || point.y() < frameWidth)
        return -1;
    const int row = top_ + (point.y() - frameWidth) / rowHeight();
    return row < top_ + visibleRows() && row < rowCount() ? row : -1;
}

void LookupList::popup() {
    setFont(box_->font());
    const int rows = visibleRows();
    const int height = rows * rowHeight() + 2 * frameWidth;
    const QRect boxRect(box_->mapToGlobal(QPoint(0, 0)), box_->size());
    QPoint at(boxRect.left(), boxRect.bottom() + 1);
    const QScreen* screen = box_->screen();
    if (screen && at.y() + height > screen->availableGeometry().bottom() + 1)
        at.setY(boxRect.top() - height);
    setGeometry(QRect(at, QSize(boxRect.width(), height)));

    const int count = rowCount();
    scrollBar_->setVisible(count > rows);
    scrollBar_->setRange(0, qMax(0, count - rows));
    scrollBar_->setPageStep(rows);
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    scrollBar_->setGeometry(width() - frameWidth - barWidth, frameWidth, barWidth,
                            height - 2 * frameWidth);
    top_ = -1;
    announcedRow_ = -1;
    currentMoved();
    show();
    accessibility::itemsReset(this);
    announceHighlight();
}

void LookupList::currentMoved() {
    const TableCursor* cursor = box_->listCursor();
    const int rows = visibleRows();
    const int count = rowCount();
    scrollBar_->setRange(0, qMax(0, count - rows));
    int top = qBound(0, top_, qMax(0, count - rows));
    const int current = cursor ? cursor->currentIndex() : -1;
    if (current >= 0 && current < top)
        top = current;
    else if (current >= top + rows)
        top = current - rows + 1;
    scrollTo(top);
    update();
    announceHighlight();
}

void LookupList::announceHighlight() {
    if (!accessibility::listening())
        return;
    const int row = isVisible() ? highlightedRow() : -1;
    if (row == announcedRow_)
        return;
    announcedRow_ = row;
    accessibility::currentItemMoved(this, row, 0, true);
}

void LookupList::scrollTo(int top) {
    top_ = top;
    const QSignalBlocker block(scrollBar_);
    scrollBar_->setValue(top);
}

void LookupList::paintEvent(QPaintEvent*) {
    guard([&] { paintRows(); });
}

void LookupList::paintRows() {
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.base());
    painter.setPen(pal.color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    const TableCursor* cursor = box_->listCursor();
    if (!cursor)
        return;
    const std::vector<Field*> fields = box_->listFields();
    const std::vector<int> edges = columnEdges();
    const int shownColumns = int(edges.size()) - 1;
    const int height = rowHeight();
    const int rows = qMin(visibleRows(), rowCount() - top_);
    for (int i = 0; i < rows; ++i) {
        const int row = top_ + i;
        const QRect line(frameWidth, frameWidth + i * height, textWidth(), height);
        const bool marked = rowHighlighted(row);
        if (marked)
            painter.fillRect(line, pal.highlight());
        painter.setPen(pal.color(marked ? QPalette::HighlightedText : QPalette::Text));
        for (int c = 0; c < shownColumns; ++c) {
            const Field* f = fields[c];
            const QRect cell(edges[c] + 2, line.top(), edges[c + 1] - edges[c] - 4, height);
            const Value value = cursor->valueAt(row, f->index());
            painter.save();
            painter.setClipRect(cell);
            painter.drawText(cell, fieldtext::alignment(f->kind()) | Qt::AlignVCenter,
                             fieldtext::display(value, f->kind()));
            painter.restore();
        }
    }
    // A vertical line after every column but the last, over the full height of the list.
    painter.setPen(pal.color(QPalette::Mid));
    for (int c = 1; c < shownColumns; ++c)
        painter.drawLine(edges[c] - 1, frameWidth, edges[c] - 1, this->height() - frameWidth - 1);
}

void LookupList::keyPressEvent(QKeyEvent* event) {
    guard([&] { box_->listKeyPress(event); });
}

void LookupList::dragTo(int y) {
    const TableCursor* cursor = box_->listCursor();
    if (!cursor || rowCount() == 0)
        return;
    const int listTop = frameWidth;
    const int listBottom = frameWidth + visibleRows() * rowHeight();
    if (y < listTop || y >= listBottom) {
        // Outside at the top or bottom: scroll on while the button is held.
        dragStep_ = y < listTop ? -1 : 1;
        if (!dragScroll_.isActive()) {
            box_->moveHighlightBy(dragStep_);
            dragScroll_.start();
        }
        return;
    }
    dragScroll_.stop();
    const int row = qMin(top_ + (y - listTop) / rowHeight(), rowCount() - 1);
    if (row != cursor->currentIndex() || !box_->hasListValue_)
        box_->moveHighlightBy(row - cursor->currentIndex());
    if (!box_->hasListValue_)
        box_->highlightChanged();
}

void LookupList::mousePressEvent(QMouseEvent* event) {
    guard([&] {
        const QPoint pos = event->position().toPoint();
        if (!rect().contains(pos)) {
            // A press outside closes the list without a choice; on the box it must not reopen it.
            const QPoint onBox = box_->mapFromGlobal(event->globalPosition().toPoint());
            if (box_->rect().contains(onBox)) {
                setAttribute(Qt::WA_NoMouseReplay);
                closingPress_ = true;
                QTimer::singleShot(0, this, [this] { closingPress_ = false; });
            }
            box_->CloseUp(false);
            return;
        }
        if (event->button() != Qt::LeftButton || pos.x() >= frameWidth + textWidth())
            return;
        dragging_ = true;
        dragTo(pos.y());
    });
}

void LookupList::mouseMoveEvent(QMouseEvent* event) {
    guard([&] {
        if (dragging_ && (event->buttons() & Qt::LeftButton))
            dragTo(event->position().toPoint().y());
    });
}

void LookupList::mouseReleaseEvent(QMouseEvent* event) {
    guard([&] {
        dragScroll_.stop();
        if (!dragging_ || event->button() != Qt::LeftButton)
            return;
        dragging_ = false;
        const QPoint pos = event->position().toPoint();
        if (rect().contains(pos) && pos.x() < frameWidth + textWidth())
            box_->CloseUp(true);
    });
}

void LookupList::wheelEvent(QWheelEvent* event) {
    guard([&] {
        const int steps = event->angleDelta().y() / 120;
        scrollTo(qBound(0, top_ - steps * 3, scrollBar_->maximum()));
        update();
    });
}

void LookupList::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    dragScroll_.stop();
    dragging_ = false;
    setAttribute(Qt::WA_NoMouseReplay, false);
    // Qt closes a popup by itself on a press elsewhere; that is a close without a choice.
    if (box_->listVisible())
        box_->listClosedOutside();
}

bool LookupList::takeClosingPress() {
    const bool was = closingPress_;
    closingPress_ = false;
    return was;
}

} // namespace kavelon
