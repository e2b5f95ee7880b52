#include "controls/ItemViewAccessible.h"

#include <QWidget>
#include <algorithm>
#include <utility>

namespace kavelon {

// One item or column header of a view; it holds no state of its own but its place.
class ItemAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    ItemAccessible(const ItemViewAccessible* view, int row, int column)
        : view_(view), row_(row), column_(column) {}

    bool header() const { return row_ < 0; }
    int row() const { return row_; }
    int column() const { return column_; }

    bool isValid() const override {
        if (!view_->isValid() || column_ < 0 || column_ >= view_->columns())
            return false;
        return header() ? view_->hasHeaders() : row_ < view_->rows();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_->window(); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return const_cast<ItemViewAccessible*>(view_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        if (!isValid())
            return {};
        switch (t) {
        case QAccessible::Name:
        case QAccessible::Value:
            return header() ? view_->headerText(column_) : view_->itemText(row_, column_);
        case QAccessible::Description:
            return header() ? QString() : view_->itemDescription(row_, column_);
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid())
            return {};
        return header() ? view_->headerRect(column_) : view_->itemRect(row_, column_);
    }
    QAccessible::Role role() const override {
        return header() ? QAccessible::ColumnHeader : view_->itemRole();
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        if (rect().isEmpty()) {
            s.invisible = true;
            s.offscreen = true;
        }
        if (header())
            return s;
        s.selectable = true;
        s.focusable = true;
        s.selected = view_->itemSelected(row_, column_);
        int row = -1, column = -1;
        s.focused = view_->hasKeyboard() && view_->currentItem(row, column) && row == row_ &&
                    column == column_;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableCellInterface && view_->role() == QAccessible::Table)
            return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override { return !header() && view_->itemSelected(row_, column_); }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        if (header() || !view_->hasHeaders())
            return {};
        return {view_->item(-1, column_)};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    const ItemViewAccessible* view_;
    int row_;
    int column_;
};

namespace {

quint64 itemKey(int row, int column) {
    return (quint64(quint32(row)) << 32) | quint32(column);
}

} // namespace

ItemViewAccessible::ItemViewAccessible(QWidget* view, QAccessible::Role role,
                                       QAccessible::Role itemRole)
    : QAccessibleWidget(view, role), itemRole_(itemRole) {}

ItemViewAccessible::~ItemViewAccessible() {
    for (const QAccessible::Id id : std::as_const(items_))
        QAccessible::deleteAccessibleInterface(id);
}

QString ItemViewAccessible::headerText(int) const {
    return {};
}

QString ItemViewAccessible::itemDescription(int, int) const {
    return {};
}

QRect ItemViewAccessible::headerRect(int) const {
    return {};
}

bool ItemViewAccessible::itemSelected(int row, int column) const {
    int currentRow = -1, currentColumn = -1;
    return currentItem(currentRow, currentColumn) && row == currentRow && column == currentColumn;
}

bool ItemViewAccessible::hasKeyboard() const {
    return widget()->hasFocus();
}

QString ItemViewAccessible::name() const {
    return widget()->accessibleName();
}

int ItemViewAccessible::indexOf(int row, int column) const {
    const int headers = hasHeaders() ? columns() : 0;
    return row < 0 ? column : headers + row * columns() + column;
}

QAccessibleInterface* ItemViewAccessible::item(int row, int column) const {
    if (column < 0 || column >= columns() || row >= rows() || (row < 0 && !hasHeaders()))
        return nullptr;
    row = std::max(row, -1);
    const quint64 key = itemKey(row, column);
    if (const auto found = items_.constFind(key); found != items_.cend())
        return QAccessible::accessibleInterface(*found);
    auto* made = new ItemAccessible(this, row, column);
    items_.insert(key, QAccessible::registerAccessibleInterface(made));
    return made;
}

int ItemViewAccessible::childCount() const {
    return (rows() + (hasHeaders() ? 1 : 0)) * columns();
}

QAccessibleInterface* ItemViewAccessible::child(int index) const {
    const int cols = columns();
    if (index < 0 || cols <= 0 || index >= childCount())
        return nullptr;
    const int headers = hasHeaders() ? cols : 0;
    if (index < headers)
        return item(-1, index);
    return item((index - headers) / cols, (index - headers) % cols);
}

int ItemViewAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* it = dynamic_cast<const ItemAccessible*>(child);
    if (!it || it->parent() != this || !it->isValid())
        return -1;
    return indexOf(it->row(), it->column());
}

QAccessibleInterface* ItemViewAccessible::childAt(int x, int y) const {
    int row = -1, column = -1;
    if (!itemAt(QPoint(x, y), row, column))
        return nullptr;
    return item(row, column);
}

QAccessibleInterface* ItemViewAccessible::focusChild() const {
    int row = -1, column = -1;
    if (!hasKeyboard() || !currentItem(row, column))
        return nullptr;
    return item(row, column);
}

QString ItemViewAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return name();
    case QAccessible::Value:
        return value();
    default:
        return QAccessibleWidget::text(t);
    }
}

void* ItemViewAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TableInterface && role() == QAccessible::Table)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QAccessibleInterface* ItemViewAccessible::cellAt(int row, int column) const {
    return row < 0 ? nullptr : item(row, column);
}

int ItemViewAccessible::selectedCellCount() const {
    return int(selectedCells().size());
}

QList<QAccessibleInterface*> ItemViewAccessible::selectedCells() const {
    int row = -1, column = -1;
    if (!currentItem(row, column))
        return {};
    return {item(row, column)};
}

QString ItemViewAccessible::rowDescription(int) const {
    return {};
}

// ---- events ------------------------------------------------------------------------------------

namespace accessibility {

namespace {

Listener currentListener = nullptr;

void send(QAccessibleEvent* event) {
    if (currentListener)
        currentListener(event);
    QAccessible::updateAccessibility(event);
}

ItemViewAccessible* viewInterface(QWidget* view) {
    return dynamic_cast<ItemViewAccessible*>(QAccessible::queryAccessibleInterface(view));
}

} // namespace

bool listening() {
    return currentListener || QAccessible::isActive();
}

Listener setListener(Listener listener) {
    const Listener previous = currentListener;
    currentListener = listener;
    return previous;
}

void currentItemMoved(QWidget* view, int row, int column, bool focused) {
    if (!listening() || row < 0)
        return;
    const ItemViewAccessible* iface = viewInterface(view);
    if (!iface || !iface->item(row, column))
        return;
    const int index = iface->indexOf(row, column);
    QAccessibleEvent selection(view, QAccessible::Selection);
    selection.setChild(index);
    send(&selection);
    if (focused) {
        QAccessibleEvent focus(view, QAccessible::Focus);
        focus.setChild(index);
        send(&focus);
    }
}

void itemValueChanged(QWidget* view, int row, int column, const QString& text) {
    if (!listening() || row < 0)
        return;
    const ItemViewAccessible* iface = viewInterface(view);
    if (QAccessibleInterface* item = iface ? iface->item(row, column) : nullptr) {
        QAccessibleValueChangeEvent event(item, text);
        send(&event);
    }
}

void itemsReset(QWidget* view) {
    if (!listening())
        return;
    QAccessibleTableModelChangeEvent event(view, QAccessibleTableModelChangeEvent::ModelReset);
    send(&event);
}

void nameChanged(QWidget* view) {
    if (!listening())
        return;
    QAccessibleEvent event(view, QAccessible::NameChanged);
    send(&event);
}

void valueChanged(QWidget* view, const QString& value) {
    if (!listening())
        return;
    QAccessibleValueChangeEvent event(view, value);
    send(&event);
}

} // namespace accessibility

} // namespace kavelon
