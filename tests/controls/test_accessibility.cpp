// What the drawn controls tell accessibility tools: the grid as a table of cells, the lookup
// box's list as a list of rows, the date box's calendar as a table of days; read through
// QAccessible as a screen reader reads them, with the events it would hear.

#include "ControlFixture.h"
#include "GridFixture.h"
#include "controls/DateBox.h"
#include "controls/DateBoxCalendar.h"
#include "controls/ItemViewAccessible.h"
#include "controls/LookupList.h"
#include "controls/TDBLookupComboBox.h"

#include <QAccessible>
#include <QToolButton>

namespace kavelon::test {

namespace {

// One event a tool heard: its type and the name (and value) of what it is about.
struct Heard {
    QAccessible::Event type;
    QString name;
    QString value;
};

std::vector<Heard>* listening = nullptr;

void hear(QAccessibleEvent* event) {
    Heard heard{event->type(), {}, {}};
    if (QAccessibleInterface* about = event->accessibleInterface())
        heard.name = about->text(QAccessible::Name);
    if (event->type() == QAccessible::ValueChanged)
        heard.value = static_cast<QAccessibleValueChangeEvent*>(event)->value().toString();
    listening->push_back(heard);
}

// Every event the controls send, recorded for the test's lifetime.
class Listener {
public:
    Listener() {
        listening = &heard;
        previous_ = accessibility::setListener(hear);
    }
    ~Listener() {
        accessibility::setListener(previous_);
        listening = nullptr;
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    // The names of what the events of one type were about, in order, from the given one on.
    QStringList names(QAccessible::Event type, std::size_t from = 0) const {
        QStringList out;
        for (std::size_t i = from; i < heard.size(); ++i)
            if (heard[i].type == type)
                out << heard[i].name;
        return out;
    }
    QStringList values(std::size_t from = 0) const {
        QStringList out;
        for (std::size_t i = from; i < heard.size(); ++i)
            if (heard[i].type == QAccessible::ValueChanged)
                out << heard[i].value;
        return out;
    }
    std::size_t mark() const { return heard.size(); }

    std::vector<Heard> heard;

private:
    accessibility::Listener previous_ = nullptr;
};

QString nameOf(const QAccessibleInterface* iface) {
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("<none>");
}

} // namespace

class GridAccessibilityTest : public GridTest {
protected:
    Listener listener;
};

TEST_F(GridAccessibilityTest, TheGridIsATableOfItsCellsUnderTheFieldNames) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    addOrder(QStringLiteral("Сидоров"), 200, 2000);
    openGrid();
    QAccessibleInterface* cells = QAccessible::queryAccessibleInterface(grid);
    ASSERT_TRUE(cells);
    EXPECT_EQ(cells->role(), QAccessible::Table);
    EXPECT_EQ(nameOf(cells), QStringLiteral("Журнал"));
    EXPECT_EQ(cells->childCount(), 3 * 8); // the titles and two rows
    EXPECT_EQ(cells->child(Client)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(nameOf(cells->child(Client)), QStringLiteral("Клиент"));
    QAccessibleInterface* cell = cells->child(8 + 8 + Client);
    EXPECT_EQ(cell->role(), QAccessible::Cell);
    EXPECT_EQ(nameOf(cell), QStringLiteral("Сидоров"));
    EXPECT_EQ(cell->text(QAccessible::Value), QStringLiteral("Сидоров"));
    EXPECT_EQ(cells->indexOfChild(cell), 8 + 8 + Client);
    EXPECT_EQ(cell->parent(), cells);

    QAccessibleTableInterface* rows = cells->tableInterface();
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->rowCount(), 2);
    EXPECT_EQ(rows->columnCount(), 8);
    EXPECT_EQ(rows->columnDescription(Weight), QStringLiteral("Вес груза"));
    EXPECT_EQ(rows->cellAt(1, Client), cell);
    QAccessibleTableCellInterface* place = cell->tableCellInterface();
    ASSERT_TRUE(place);
    EXPECT_EQ(place->rowIndex(), 1);
    EXPECT_EQ(place->columnIndex(), int(Client));
    EXPECT_EQ(nameOf(place->columnHeaderCells().value(0)), QStringLiteral("Клиент"));

    // Where a cell stands on the screen, and the cell at a point.
    const QRect onScreen(grid->viewport()->mapToGlobal(grid->cellRect(1, Client).topLeft()),
                         grid->cellRect(1, Client).size());
    EXPECT_EQ(cell->rect(), onScreen);
    EXPECT_EQ(cells->childAt(onScreen.center().x(), onScreen.center().y()), cell);
    EXPECT_EQ(nameOf(cells->childAt(onScreen.center().x(),
                                    onScreen.center().y() - grid->rowHeight() - 1)),
              QStringLiteral("Иванов"));
}

TEST_F(GridAccessibilityTest, TheCurrentCellIsFocusedAndItsMovesAndChangesAreHeard) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    addOrder(QStringLiteral("Сидоров"), 200, 2000);
    openGrid();
    QAccessibleInterface* cells = QAccessible::queryAccessibleInterface(grid);
    goToColumn(Client);
    const QStringList focused = listener.names(QAccessible::Focus);
    ASSERT_FALSE(focused.isEmpty());
    EXPECT_EQ(focused.back(), QStringLiteral("Иванов"));
    QAccessibleInterface* first = cells->focusChild();
    EXPECT_EQ(nameOf(first), QStringLiteral("Иванов"));
    EXPECT_TRUE(first->state().focused);
    EXPECT_TRUE(first->state().selected);

    std::size_t from = listener.mark();
    key(Qt::Key_Down);
    EXPECT_EQ(listener.names(QAccessible::Focus, from), QStringList({"Сидоров"}));
    EXPECT_EQ(listener.names(QAccessible::Selection, from), QStringList({"Сидоров"}));
    EXPECT_EQ(nameOf(cells->focusChild()), QStringLiteral("Сидоров"));
    EXPECT_FALSE(first->state().selected);
    EXPECT_FALSE(first->state().focused);

    // A text stored into the current cell is its new value.
    from = listener.mark();
    type(QStringLiteral("Ж"));
    key(Qt::Key_Return);
    EXPECT_EQ(listener.values(from), QStringList({"Ж"}));
    EXPECT_EQ(nameOf(cells->focusChild()), QStringLiteral("Ж"));

    // A new row: the table is laid out anew and the focus goes to the new row's empty cell.
    key(Qt::Key_Escape);
    from = listener.mark();
    key(Qt::Key_Down);
    ASSERT_EQ(cells->childCount(), 4 * 8);
    EXPECT_FALSE(listener.names(QAccessible::TableModelChanged, from).isEmpty());
    EXPECT_EQ(listener.names(QAccessible::Focus, from), QStringList({""}));
    EXPECT_EQ(cells->indexOfChild(cells->focusChild()), 8 + 2 * 8 + Client);

    // Without the keyboard the current cell is still selected, no longer focused.
    key(Qt::Key_Up);
    leaveGrid();
    EXPECT_EQ(cells->focusChild(), nullptr);
    QAccessibleInterface* current = cells->tableInterface()->cellAt(1, Client);
    EXPECT_TRUE(current->state().selected);
    EXPECT_FALSE(current->state().focused);
}

namespace {

class LookupAccessibilityTest : public ControlTest {
protected:
    Listener listener;
    TDBLookupComboBox* box = nullptr;

    void SetUp() override {
        ControlTest::SetUp();
        for (const auto& [name, distance] :
             {std::pair{"Тверь", 170}, std::pair{"Клин", 80}, std::pair{"Тула", 180}})
            sql(QStringLiteral("INSERT INTO \"Населённые пункты\" VALUES ('%1', %2)")
                    .arg(QString::fromUtf8(name))
                    .arg(distance));
        sql(QStringLiteral("INSERT INTO \"Журнал\" (\"Населённый пункт\") VALUES ('Тверь')"));
        TableCursor& journal = open(schema::journalTable);
        TableCursor& list = open(schema::settlementsTable, QStringLiteral("ADOTable2"));
        box = new TDBLookupComboBox(window.get());
        box->setGeometry(10, 10, 320, 24);
        box->setDataSource(source(journal));
        box->setDataField(QStringLiteral("Населённый пункт"));
        box->setListSource(source(list));
        box->setKeyField(QStringLiteral("Наименование"));
        box->setListField(QStringLiteral("Наименование;Растояние до НП"));
        showWindow();
        focus(box);
    }
};

} // namespace

TEST_F(LookupAccessibilityTest, TheListIsAListOfItsRowsWithTheHighlightSelected) {
    const std::size_t opened = listener.mark();
    QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(box->listVisible());
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(box->list());
    ASSERT_TRUE(list);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(nameOf(list), QStringLiteral("Наименование, Растояние до НП"));
    ASSERT_EQ(list->childCount(), 3);
    QStringList items;
    for (int i = 0; i < list->childCount(); ++i) {
        EXPECT_EQ(list->child(i)->role(), QAccessible::ListItem);
        items << nameOf(list->child(i));
    }
    EXPECT_EQ(items, QStringList({"Тверь, 170", "Клин, 80", "Тула, 180"}));
    // Opened on the bound value: its row is the highlight.
    EXPECT_EQ(listener.names(QAccessible::Focus, opened), QStringList({"Тверь, 170"}));
    EXPECT_EQ(nameOf(list->focusChild()), QStringLiteral("Тверь, 170"));
    EXPECT_TRUE(list->child(0)->state().selected);
    EXPECT_FALSE(list->child(1)->state().selected);

    const std::size_t from = listener.mark();
    QTest::keyClick(box->list(), Qt::Key_Down);
    EXPECT_EQ(listener.names(QAccessible::Focus, from), QStringList({"Клин, 80"}));
    EXPECT_TRUE(list->child(1)->state().selected);
    EXPECT_FALSE(list->child(0)->state().selected);
    const QRect row = list->child(2)->rect();
    EXPECT_EQ(list->childAt(row.center().x(), row.center().y()), list->child(2));
    EXPECT_EQ(row.height(), box->list()->rowHeight());
}

TEST(CalendarAccessibility, TheCalendarIsATableOfDaysWithTheSelectedDateAsItsValue) {
    Listener listener;
    QWidget window;
    window.resize(400, 300);
    auto* box = new DateBox(&window);
    box->setGeometry(176, 56, 145, 21);
    box->setTodaySource([] { return QDate(2025, 6, 15); });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    box->setFocus();
    box->setText(QStringLiteral("20.01.2025"));
    QTest::mouseClick(box->dropDownButton(), Qt::LeftButton);
    DateBoxCalendar* calendar = box->calendar();
    ASSERT_TRUE(calendar->isVisible());

    QAccessibleInterface* days = QAccessible::queryAccessibleInterface(calendar);
    ASSERT_TRUE(days);
    EXPECT_EQ(days->role(), QAccessible::Table);
    EXPECT_EQ(nameOf(days), QStringLiteral("Январь 2025"));
    EXPECT_EQ(days->text(QAccessible::Value), QStringLiteral("20.01.2025"));
    EXPECT_EQ(days->childCount(), 7 + 6 * 7);
    EXPECT_EQ(days->child(0)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(nameOf(days->child(0)), calendar->dayName(0));
    // January 2025 begins on a Wednesday: the weeks start with 30 and 31 December.
    EXPECT_EQ(nameOf(days->child(7)), QStringLiteral("30"));
    QAccessibleInterface* selected = days->focusChild();
    EXPECT_EQ(nameOf(selected), QStringLiteral("20"));
    EXPECT_TRUE(selected->state().selected);
    EXPECT_EQ(selected->role(), QAccessible::Cell);
    EXPECT_TRUE(selected->text(QAccessible::Description).contains(QStringLiteral("2025")));
    EXPECT_EQ(selected->rect(),
              QRect(calendar->mapToGlobal(calendar->dayRect({2025, 1, 20}).topLeft()),
                    calendar->dayRect({2025, 1, 20}).size()));
    EXPECT_EQ(days->tableInterface()->rowCount(), 6);

    std::size_t from = listener.mark();
    QTest::keyClick(calendar, Qt::Key_Right);
    EXPECT_EQ(listener.values(from), QStringList({"21.01.2025"}));
    EXPECT_EQ(listener.names(QAccessible::Focus, from), QStringList({"21"}));
    EXPECT_FALSE(selected->state().selected);
    EXPECT_TRUE(listener.names(QAccessible::NameChanged, from).isEmpty());

    // Another month: the days are laid out anew under the new title.
    from = listener.mark();
    QTest::keyClick(calendar, Qt::Key_PageDown);
    EXPECT_EQ(listener.names(QAccessible::NameChanged, from), QStringList({"Февраль 2025"}));
    EXPECT_EQ(listener.names(QAccessible::TableModelChanged, from).size(), 1);
    EXPECT_EQ(listener.values(from), QStringList({"21.02.2025"}));
    EXPECT_EQ(nameOf(days->focusChild()), QStringLiteral("21"));
    EXPECT_EQ(days->indexOfChild(days->focusChild()), 7 + 3 * 7 + 4); // Friday of the fourth week
}

} // namespace kavelon::test
