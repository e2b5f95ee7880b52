// The accessibility interfaces of the drawn controls: the grid as a table of its rows with the
// field names as column headers, the lookup box's list as a list of its rows, the date box's
// calendar as a table of the six weeks shown under the day names, its value the selected date.

#include "app/Guard.h"
#include "controls/DateBoxCalendar.h"
#include "controls/GridEditor.h"
#include "controls/ItemViewAccessible.h"
#include "controls/LookupList.h"
#include "controls/TDBGrid.h"
#include "controls/TDBLookupComboBox.h"
#include "data/SystemLocale.h"

#include <QScrollBar>

namespace kavelon {

namespace {

QRect onScreen(const QWidget* widget, const QRect& rect) {
    const QRect shown = rect & widget->rect();
    return shown.isEmpty() ? QRect() : QRect(widget->mapToGlobal(shown.topLeft()), shown.size());
}

} // namespace

class GridAccessible : public ItemViewAccessible {
public:
    explicit GridAccessible(TDBGrid* grid)
        : ItemViewAccessible(grid, QAccessible::Table, QAccessible::Cell) {}

    int rows() const override { return grid()->rowCount(); }
    int columns() const override { return grid()->columnCount(); }
    bool hasHeaders() const override { return true; }
    QString headerText(int column) const override { return grid()->columnTitle(column); }
    QString itemText(int row, int column) const override { return grid()->cellText(row, column); }

    QRect itemRect(int row, int column) const override {
        const TDBGrid* g = grid();
        if (row < g->topRow() || row >= g->topRow() + g->visibleRowCount())
            return {};
        // Cells run under the titles and the indicator when scrolled: only the part in view.
        QRect cell = g->cellRect(row, column);
        cell.setLeft(std::max(cell.left(), g->indicatorWidth_ + 1));
        return onScreen(g->viewport(), cell);
    }
    QRect headerRect(int column) const override {
        const TDBGrid* g = grid();
        QRect title = g->titleRect(column);
        title.setLeft(std::max(title.left(), g->indicatorWidth_ + 1));
        return onScreen(g->viewport(), title);
    }
    bool itemAt(const QPoint& global, int& row, int& column) const override {
        const TDBGrid* g = grid();
        const QPoint at = g->viewport()->mapFromGlobal(global);
        if (!g->viewport()->rect().contains(at))
            return false;
        row = g->rowAt(at.y());
        column = g->columnAt(at.x());
        return row >= 0 && column >= 0;
    }
    bool currentItem(int& row, int& column) const override {
        const TDBGrid* g = grid();
        if (!g->active() || g->cursor()->currentIndex() < 0)
            return false;
        row = g->cursor()->currentIndex();
        column = g->currentColumn();
        return true;
    }
    bool hasKeyboard() const override { return grid()->hasFocus() || grid()->editor_->hasFocus(); }
    // The window's own name for it, else the table it shows.
    QString name() const override {
        const QString own = widget()->accessibleName();
        if (!own.isEmpty())
            return own;
        const TableCursor* c = grid()->cursor();
        return c ? c->TableName() : QString();
    }

private:
    TDBGrid* grid() const { return static_cast<TDBGrid*>(widget()); }
};

class LookupListAccessible : public ItemViewAccessible {
public:
    explicit LookupListAccessible(LookupList* list)
        : ItemViewAccessible(list, QAccessible::List, QAccessible::ListItem) {}

    int rows() const override { return list()->rowCount(); }
    int columns() const override { return 1; }
    QString itemText(int row, int) const override { return list()->rowText(row); }
    QRect itemRect(int row, int) const override {
        return list()->isVisible() ? onScreen(list(), list()->rowRect(row)) : QRect();
    }
    bool itemAt(const QPoint& global, int& row, int& column) const override {
        row = list()->rowAt(list()->mapFromGlobal(global));
        column = 0;
        return row >= 0;
    }
    bool currentItem(int& row, int& column) const override {
        row = list()->highlightedRow();
        column = 0;
        return row >= 0;
    }
    // Every row holding the highlighted key is highlighted.
    bool itemSelected(int row, int) const override { return list()->rowHighlighted(row); }
    // The open list takes the keys while the box keeps the focus.
    bool hasKeyboard() const override { return list()->isVisible(); }
    // The box's own name for it, else its list columns.
    QString name() const override {
        const auto* box = qobject_cast<const TDBLookupComboBox*>(list()->parentWidget());
        if (!box)
            return {};
        if (!box->accessibleName().isEmpty())
            return box->accessibleName();
        return box->ListField().split(QLatin1Char(';')).join(QStringLiteral(", "));
    }

private:
    LookupList* list() const { return static_cast<LookupList*>(widget()); }
};

class CalendarAccessible : public ItemViewAccessible {
public:
    explicit CalendarAccessible(DateBoxCalendar* calendar)
        : ItemViewAccessible(calendar, QAccessible::Table, QAccessible::Cell) {}

    static constexpr int Weeks = 6;

    int rows() const override { return Weeks; }
    int columns() const override { return 7; }
    bool hasHeaders() const override { return true; }
    QString headerText(int column) const override { return calendar()->dayName(column); }
    QString itemText(int row, int column) const override {
        return QString::number(dayAt(row, column).day());
    }
    QString itemDescription(int row, int column) const override {
        return systemLocale().toString(dayAt(row, column), QLocale::LongFormat);
    }
    QRect itemRect(int row, int column) const override {
        return onScreen(calendar(), calendar()->dayRect(dayAt(row, column)));
    }
    QRect headerRect(int column) const override {
        return onScreen(calendar(), calendar()->dayNameRect(column));
    }
    bool itemAt(const QPoint& global, int& row, int& column) const override {
        const QDate day = calendar()->dateAt(calendar()->mapFromGlobal(global));
        return day.isValid() && position(day, row, column);
    }
    bool currentItem(int& row, int& column) const override {
        return position(calendar()->selectedDate(), row, column);
    }
    QString name() const override { return calendar()->titleText(); }
    QString value() const override { return calendar()->dateText(calendar()->selectedDate()); }

private:
    DateBoxCalendar* calendar() const { return static_cast<DateBoxCalendar*>(widget()); }
    QDate dayAt(int row, int column) const {
        return calendar()->firstShown().addDays(row * 7 + column);
    }
    bool position(const QDate& day, int& row, int& column) const {
        const qint64 index = calendar()->firstShown().daysTo(day);
        if (index < 0 || index >= 7 * Weeks)
            return false;
        row = int(index / 7);
        column = int(index % 7);
        return true;
    }
};

namespace accessibility {

namespace {

QAccessibleInterface* controlInterface(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String(TDBGrid::staticMetaObject.className()))
        return new GridAccessible(static_cast<TDBGrid*>(object));
    if (className == QLatin1String(LookupList::staticMetaObject.className()))
        return new LookupListAccessible(static_cast<LookupList*>(object));
    if (className == QLatin1String(DateBoxCalendar::staticMetaObject.className()))
        return new CalendarAccessible(static_cast<DateBoxCalendar*>(object));
    return nullptr;
}

} // namespace

void install() {
    static const bool installed = [] {
        QAccessible::installFactory(controlInterface);
        return true;
    }();
    (void)installed;
}

} // namespace accessibility

} // namespace kavelon
