#include "controls/TDBGrid.h"

#include "app/Guard.h"
#include "controls/GridEditor.h"
#include "controls/ItemViewAccessible.h"
#include "data/FieldText.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>

namespace kavelon {

TDBGrid::TDBGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    titleFont_ = font();
    editor_ = new GridEditor(this, viewport());
    measure();
    accessibility::install();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget*) {
        if (old && old == droppedNewRowFor_)
            droppedNewRowFor_ = nullptr;
    });
}

// The focus leaves the editor while the children go, after the grid's own members are gone: the
// grid stops listening first.
TDBGrid::~TDBGrid() {
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void TDBGrid::setDataSource(TDataSource* source) {
    editing_.setDataSource(source);
}

void TDBGrid::setTitleFont(const QFont& font) {
    titleFont_ = font;
    measure();
    if (columnsCursor_)
        for (Column& c : columns_)
            c.width = defaultWidth(columnsCursor_->Fields(c.field));
    updateScrollBars();
    viewport()->update();
}

bool TDBGrid::droppedNewRowFor(const QWidget* widget) {
    const bool dropped = widget && droppedNewRowFor_ == widget;
    droppedNewRowFor_ = nullptr;
    return dropped;
}

int TDBGrid::columnField(int column) const {
    return columns_.at(std::size_t(column)).field;
}

int TDBGrid::rowCount() const {
    const TableCursor* c = cursor();
    return c && c->Active() ? c->rowCount() : 0;
}

QString TDBGrid::cellText(int row, int column) const {
    TableCursor* c = cursor();
    if (!c || !c->Active() || row < 0 || row >= c->rowCount() || column < 0 ||
        column >= columnCount())
        return {};
    const Field& field = c->Fields(columns_[std::size_t(column)].field);
    return fieldtext::display(c->valueAt(row, field.index()), field.kind());
}

QString TDBGrid::columnTitle(int column) const {
    if (!columnsCursor_ || column < 0 || column >= columnCount())
        return {};
    return columnsCursor_->Fields(columns_[std::size_t(column)].field).FieldName();
}

int TDBGrid::columnWidth(int column) const {
    return columns_.at(std::size_t(column)).width;
}

void TDBGrid::setColumnWidth(int column, int width) {
    columns_.at(std::size_t(column)).width = std::max(width, 1);
    updateScrollBars();
    positionEditor();
    viewport()->update();
}

void TDBGrid::moveColumn(int from, int to) {
    if (from < 0 || from >= columnCount() || to < 0 || to >= columnCount() || from == to)
        return;
    const int currentField = columns_[std::size_t(currentColumn())].field;
    const Column moved = columns_[std::size_t(from)];
    columns_.erase(columns_.begin() + from);
    columns_.insert(columns_.begin() + to, moved);
    for (int i = 0; i < columnCount(); ++i)
        if (columns_[std::size_t(i)].field == currentField)
            editing_.placeColumn(i);
    positionEditor();
    changed();
}

// ---- columns and geometry ----------------------------------------------------------------------

// One column per field of the cursor, in field order. Rebuilt only when the fields themselves
// change (a cursor bound or opened), so a user's widths and order stay as long as the window.
void TDBGrid::syncColumns() {
    TableCursor* c = cursor();
    const int fields = c ? c->FieldCount() : 0;
    if (c == columnsCursor_ && fields == columnCount())
        return;
    columnsCursor_ = c;
    columns_.clear();
    for (int i = 0; i < fields; ++i)
        columns_.push_back({i, defaultWidth(c->Fields(i))});
    editing_.placeColumn(0);
    updateScrollBars();
}

int TDBGrid::defaultWidth(const Field& field) const {
    const int digits = field.DisplayWidth() * QFontMetrics(font()).horizontalAdvance(u'0') + 4;
    const int title = QFontMetrics(titleFont_).horizontalAdvance(field.FieldName()) + 4;
    return std::max(digits, title);
}

void TDBGrid::measure() {
    rowHeight_ = QFontMetrics(font()).height() + 3;
    titleHeight_ = std::max(QFontMetrics(titleFont_).height() + 4, rowHeight_);
    indicatorWidth_ = std::max(12, rowHeight_ * 3 / 4);
}

// Layout: the indicator column stays at the left; data columns follow, each with a one-pixel line
// on its right, shifted by the horizontal scroll. Rows follow the title row, each with a line
// below.
int TDBGrid::dataLeft() const {
    return indicatorWidth_ + 1 - horizontalScrollBar()->value();
}

int TDBGrid::columnLeft(int column) const {
    int x = dataLeft();
    for (int i = 0; i < column && i < columnCount(); ++i)
        x += columns_[std::size_t(i)].width + 1;
    return x;
}

int TDBGrid::rowTop(int row) const {
    return titleHeight_ + 1 + (row - topRow_) * (rowHeight_ + 1);
}

int TDBGrid::dataWidth() const {
    int w = 0;
    for (const Column& c : columns_)
        w += c.width + 1;
    return w;
}

int TDBGrid::visibleRowCount() const {
    return std::max(1, (viewport()->height() - titleHeight_ - 1) / (rowHeight_ + 1));
}

QRect TDBGrid::cellRect(int row, int column) const {
    if (column < 0 || column >= columnCount())
        return {};
    return QRect(columnLeft(column), rowTop(row), columns_[std::size_t(column)].width, rowHeight_);
}

QRect TDBGrid::titleRect(int column) const {
    if (column < 0 || column >= columnCount())
        return {};
    return QRect(columnLeft(column), 0, columns_[std::size_t(column)].width, titleHeight_);
}

void TDBGrid::ensureCurrentRowVisible() {
    const TableCursor* c = cursor();
    const int rows = c ? c->rowCount() : 0;
    const int shown = visibleRowCount();
    const int current = currentRow();
    if (current < topRow_)
        topRow_ = current;
    else if (current >= topRow_ + shown)
        topRow_ = current - shown + 1;
    topRow_ = std::clamp(topRow_, 0, std::max(0, rows - shown));
}

void TDBGrid::ensureColumnVisible(int column) {
    if (column < 0 || column >= columnCount())
        return;
    QScrollBar* bar = horizontalScrollBar();
    const int room = viewport()->width() - indicatorWidth_ - 1;
    int left = 0;
    for (int i = 0; i < column; ++i)
        left += columns_[std::size_t(i)].width + 1;
    const int right = left + columns_[std::size_t(column)].width + 1;
    int offset = bar->value();
    if (right - offset > room)
        offset = right - room;
    if (left < offset)
        offset = left;
    bar->setValue(std::clamp(offset, bar->minimum(), bar->maximum()));
}

// The vertical bar stands for the current row among all rows, as the indicator does; moving its
// thumb moves the current row. The horizontal bar scrolls by pixels.
void TDBGrid::updateScrollBars() {
    updatingScrollBars_ = true;
    const TableCursor* c = cursor();
    const int rows = c && c->Active() ? c->rowCount() : 0;
    const int shown = visibleRowCount();
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, rows > shown ? rows - 1 : 0);
    v->setPageStep(shown);
    v->setSingleStep(1);
    v->setValue(currentRow());
    QScrollBar* h = horizontalScrollBar();
    const int room = viewport()->width() - indicatorWidth_ - 1;
    h->setRange(0, std::max(0, dataWidth() - room));
    h->setPageStep(std::max(1, room));
    h->setSingleStep(std::max(1, QFontMetrics(font()).horizontalAdvance(u'0') * 4));
    updatingScrollBars_ = false;
}

void TDBGrid::positionEditor() {
    if (!editorMode())
        return;
    const QRect cell = cellRect(currentRow(), currentColumn());
    editor_->setGeometry(cell.adjusted(1, 1, -1, 0));
}

void TDBGrid::scrollContentsBy(int dx, int dy) {
    if (updatingScrollBars_)
        return;
    bool done = false;
    guard([&] {
        // The user moved the vertical thumb: that row becomes current, with the browse-mode check.
        if (dy != 0)
            editing_.moveToRow(verticalScrollBar()->value());
        if (dx != 0) {
            positionEditor();
            viewport()->update();
        }
        done = true;
    });
    if (!done)
        updateScrollBars();
}

void TDBGrid::resizeEvent(QResizeEvent* event) {
    guard([&] {
        QAbstractScrollArea::resizeEvent(event);
        ensureCurrentRowVisible();
        updateScrollBars();
        positionEditor();
    });
}

void TDBGrid::changeEvent(QEvent* event) {
    guard([&] {
        QAbstractScrollArea::changeEvent(event);
        if (event->type() != QEvent::FontChange)
            return;
        editor_->setFont(font());
        measure();
        if (TableCursor* c = cursor(); c && c == columnsCursor_)
            for (Column& col : columns_)
                col.width = defaultWidth(c->Fields(col.field));
        updateScrollBars();
        positionEditor();
        viewport()->update();
    });
}

bool TDBGrid::event(QEvent* event) {
    bool result = false;
    guard([&] { result = QAbstractScrollArea::event(event); });
    return result;
}

// Tab belongs to the grid: it moves between cells (keyPressEvent).
bool TDBGrid::focusNextPrevChild(bool) {
    return false;
}

void TDBGrid::focusInEvent(QFocusEvent* event) {
    guard([&] {
        QAbstractScrollArea::focusInEvent(event);
        viewport()->update();
        // The tools hear of the grid taking the keyboard; the cell they land on is the current one.
        if (active())
            accessibility::currentItemMoved(this, cursor()->currentIndex(), currentColumn(), true);
    });
}

void TDBGrid::focusOutEvent(QFocusEvent* event) {
    guard([&] {
        QAbstractScrollArea::focusOutEvent(event);
        viewport()->update();
    });
    leaveGrid(event->reason());
}

// ---- what the editing rules ask of the grid ---------------------------------------------------

void TDBGrid::fieldsChanged() {
    syncColumns();
}

void TDBGrid::revealRow() {
    ensureCurrentRowVisible();
}

void TDBGrid::revealColumn() {
    ensureColumnVisible(currentColumn());
}

void TDBGrid::changed() {
    viewport()->update();
    announceChanges();
}

void TDBGrid::placeEditor() {
    positionEditor();
}

} // namespace kavelon
