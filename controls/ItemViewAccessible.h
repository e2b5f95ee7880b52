#pragma once
// What the drawn item views (the grid, the lookup list, the calendar) tell accessibility tools.
// None of them has a child widget per item, so each gets an interface that lays its items out as
// children: the column headers first (when it has them), then the items row by row. An item is a
// table cell or a list item with the text it shows as its name and value; the view's current item
// is selected, and focused while the view has the keyboard.

#include <QAccessibleWidget>
#include <QHash>

namespace kavelon {

class ItemAccessible;

class ItemViewAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    ItemViewAccessible(QWidget* view, QAccessible::Role role, QAccessible::Role itemRole);
    ~ItemViewAccessible() override;

    // The items, as the view shows them.
    virtual int rows() const = 0;
    virtual int columns() const = 0;
    virtual bool hasHeaders() const { return false; }
    virtual QString headerText(int column) const;
    virtual QString itemText(int row, int column) const = 0;
    virtual QString itemDescription(int row, int column) const;
    // Where an item or a header stands on the screen; empty while it is scrolled out of view.
    virtual QRect itemRect(int row, int column) const = 0;
    virtual QRect headerRect(int column) const;
    // The item under a point of the screen; false when there is none.
    virtual bool itemAt(const QPoint& global, int& row, int& column) const = 0;
    // The current item; false when there is none.
    virtual bool currentItem(int& row, int& column) const = 0;
    // Whether an item is shown as selected (the current one unless told otherwise).
    virtual bool itemSelected(int row, int column) const;
    // Whether the view has the keyboard, so that its current item is focused.
    virtual bool hasKeyboard() const;
    // The view's own name and value.
    virtual QString name() const;
    virtual QString value() const { return {}; }

    QAccessible::Role itemRole() const { return itemRole_; }
    // The child index of an item, or of a header with row -1.
    int indexOf(int row, int column) const;
    QAccessibleInterface* item(int row, int column) const;

    // QAccessibleInterface
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override { return headerText(column); }
    int columnCount() const override { return columns(); }
    int selectedColumnCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QString rowDescription(int row) const override;
    int rowCount() const override { return rows(); }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    // Selection follows the view's current item only; the tools cannot change it.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    using QAccessibleWidget::widget;

private:
    QAccessible::Role itemRole_;
    // The item interfaces handed out, by position; QAccessible owns them until this goes.
    mutable QHash<quint64, QAccessible::Id> items_;
};

namespace accessibility {

// Makes the interfaces of the grid, the lookup list and the calendar known to QAccessible (once).
void install();

// Whether anyone hears the events: a tool through QAccessible, or a listener.
bool listening();
// A listener that hears every event the controls send, beside QAccessible, which passes events
// on only while a tool is attached (tests have none). Returns the one it replaces.
using Listener = void (*)(QAccessibleEvent* event);
Listener setListener(Listener listener);

// The tools are told: the current item of the view moved (Selection, and Focus when the view has
// the keyboard); an item's text changed; the items were laid out anew (rows came or went, another
// month); the view's name changed; its value changed.
void currentItemMoved(QWidget* view, int row, int column, bool focused);
void itemValueChanged(QWidget* view, int row, int column, const QString& text);
void itemsReset(QWidget* view);
void nameChanged(QWidget* view);
void valueChanged(QWidget* view, const QString& value);

} // namespace accessibility

} // namespace kavelon
