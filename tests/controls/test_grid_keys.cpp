// The grid's keys and clicks: moving among rows and columns, appending and removing new rows,
// deleting with the confirmation box.

#include "GridFixture.h"

#include <QScrollBar>

namespace kavelon::test {

TEST_F(GridTest, DownOnTheLastRowAppendsAndUpOrDownOnTheUntouchedRowRemovesIt) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    addOrder(QStringLiteral("Сидоров"), 200, 2000);
    openGrid();
    key(Qt::Key_Down);
    EXPECT_EQ(table->currentIndex(), 1);
    key(Qt::Key_Down);
    EXPECT_EQ(table->State(), dsInsert);
    EXPECT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->currentIndex(), 2);
    key(Qt::Key_Down); // untouched, at the end: nothing
    EXPECT_EQ(table->State(), dsInsert);
    EXPECT_EQ(table->rowCount(), 3);
    key(Qt::Key_Up);
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->currentIndex(), 1);

    // An untouched row inserted in the middle: Down drops it and stays on the row it pushed down.
    key(Qt::Key_Up);
    key(Qt::Key_Insert);
    EXPECT_EQ(table->currentIndex(), 0);
    key(Qt::Key_Down);
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(shown(table->currentIndex(), Client), QStringLiteral("Иванов"));
    EXPECT_EQ(inFile(QStringLiteral("SELECT COUNT(*) FROM \"Журнал\"")), QStringList({"2"}));
}

TEST_F(GridTest, TabWalksTheCellsAndPastTheLastRowAppends) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    openGrid();
    key(Qt::Key_End);
    EXPECT_EQ(grid->currentColumn(), int(Sum));
    key(Qt::Key_Tab);
    EXPECT_EQ(table->State(), dsInsert);
    EXPECT_EQ(table->currentIndex(), 1);
    EXPECT_EQ(grid->currentColumn(), 0);
    key(Qt::Key_Backtab); // before the first column: the last column of the previous row
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_EQ(grid->currentColumn(), int(Sum));
    key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(grid->currentColumn(), 0);
    key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(grid->currentColumn(), int(Sum));
    key(Qt::Key_Home);
    EXPECT_EQ(grid->currentColumn(), 0);
    EXPECT_TRUE(grid->hasFocus()); // Tab never left the grid
}

TEST_F(GridTest, CtrlDeleteAsksAndDeletesOnlyOnOk) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    addOrder(QStringLiteral("Сидоров"), 200, 2000);
    openGrid();
    recorded.answer(MessageSeam::Answer::Cancel);
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(questions(), QStringList({"Confirm | Delete record?"}));
    EXPECT_EQ(inFile(QStringLiteral("SELECT COUNT(*) FROM \"Журнал\"")), QStringList({"2"}));

    for (int i = 0; i < 3; ++i)
        recorded.answer(MessageSeam::Answer::Ok);
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Клиент\" FROM \"Журнал\"")),
              QStringList({"Сидоров"}));
    EXPECT_EQ(table->rowCount(), 1);

    // On a new row, OK drops the row and deletes nothing.
    key(Qt::Key_Insert);
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(inFile(QStringLiteral("SELECT COUNT(*) FROM \"Журнал\"")), QStringList({"1"}));

    // Without rows: no question, no message.
    key(Qt::Key_Delete, Qt::ControlModifier);
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(questions().size(), 4);
    EXPECT_EQ(table->rowCount(), 0);
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(GridTest, PageKeysAndScrollingKeepTheCurrentRowInView) {
    addOrders(200);
    openGrid();
    const int shownRows = grid->visibleRowCount();
    ASSERT_GT(shownRows, 5);
    key(Qt::Key_PageDown);
    EXPECT_EQ(table->currentIndex(), shownRows);
    EXPECT_GE(table->currentIndex(), grid->topRow());
    EXPECT_LT(table->currentIndex(), grid->topRow() + shownRows);
    key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(table->currentIndex(), grid->topRow());
    key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(table->currentIndex(), grid->topRow() + shownRows - 1);
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(table->currentIndex(), 199);
    EXPECT_EQ(grid->topRow(), 200 - shownRows);
    key(Qt::Key_PageUp);
    EXPECT_EQ(table->currentIndex(), 199 - shownRows);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(table->currentIndex(), 0);
    EXPECT_EQ(grid->topRow(), 0);

    // The thumb of the vertical bar stands for the current row.
    grid->verticalScrollBar()->setValue(150);
    EXPECT_EQ(table->currentIndex(), 150);
    EXPECT_LE(grid->topRow(), 150);
}

TEST_F(GridTest, ClicksPickTheCellAndASecondClickOpensTheEditor) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    addOrder(QStringLiteral("Сидоров"), 200, 2000);
    openGrid();
    goToColumn(Client);
    type(QStringLiteral("Ж"));
    clickCell(1, Driver); // stores "Ж", leaves the row: it is saved
    EXPECT_EQ(table->currentIndex(), 1);
    EXPECT_EQ(grid->currentColumn(), int(Driver));
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Клиент\" FROM \"Журнал\" ORDER BY ID")),
              QStringList({"Ж", "Сидоров"}));
    EXPECT_EQ(grid->editorText(), QStringLiteral("Петров")); // the open editor follows the cell
    key(Qt::Key_Escape);
    EXPECT_FALSE(grid->editorMode());
    clickCell(0, Driver);
    EXPECT_FALSE(grid->editorMode());
    clickCell(1, Driver);
    EXPECT_FALSE(grid->editorMode());
    clickCell(1, Driver);
    EXPECT_TRUE(grid->editorMode());
    EXPECT_EQ(grid->editorText(), QStringLiteral("Петров"));
}

} // namespace kavelon::test
