// Editing cells in the grid: the editor, storing typed text, saving the row, Esc, leaving.

#include "GridFixture.h"

namespace kavelon::test {

TEST_F(GridTest, TypingADigitEditsTheCellAndDownSavesTheRow) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    addOrder(QStringLiteral("Сидоров"), 200, 2000);
    openGrid();
    goToColumn(Weight);
    type(QStringLiteral("5"));
    EXPECT_TRUE(grid->editorMode());
    EXPECT_EQ(grid->editorText(), QStringLiteral("5")); // the typed digit replaced "100"
    EXPECT_EQ(table->State(), dsEdit);
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Вес груза\" FROM \"Журнал\" ORDER BY ID")),
              QStringList({"100", "200"})); // nothing written yet

    key(Qt::Key_Down);
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(table->currentIndex(), 1);
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Вес груза\" FROM \"Журнал\" ORDER BY ID")),
              QStringList({"5", "200"}));
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(GridTest, CharactersTheFieldRefusesAndReadOnlyCellsChangeNothing) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    openGrid();
    goToColumn(Weight);
    type(QStringLiteral("a"));
    EXPECT_EQ(grid->editorText(), QStringLiteral("100"));
    EXPECT_FALSE(grid->editorModified());
    EXPECT_EQ(table->State(), dsBrowse);

    // The order number is an auto-number: digits are dropped silently, deletions too.
    key(Qt::Key_Escape);
    goToColumn(ID);
    type(QStringLiteral("7"));
    key(Qt::Key_Backspace);
    EXPECT_EQ(grid->editorText(), QStringLiteral("1"));
    EXPECT_EQ(table->State(), dsBrowse);
    key(Qt::Key_Down);
    EXPECT_EQ(inFile(QStringLiteral("SELECT ID FROM \"Журнал\"")), QStringList({"1"}));
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(GridTest, EmptyingACellStoresAnEmptyValueAndTextIsCutToTheColumnWidth) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    addOrder(QStringLiteral("Сидоров"), 200, 2000);
    openGrid();
    goToColumn(Weight);
    key(Qt::Key_F2);
    key(Qt::Key_Backspace);
    EXPECT_EQ(table->State(), dsEdit);
    key(Qt::Key_Down);
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Вес груза\" FROM \"Журнал\" ORDER BY ID")),
              QStringList({"NULL", "200"}));

    // "Транспортное средство" is text(20): the editor takes 20 characters.
    goToColumn(Vehicle);
    type(QStringLiteral("Грузовик-рефрижератор МАЗ"));
    EXPECT_EQ(grid->editorText(), QStringLiteral("Грузовик-рефрижерато"));
    key(Qt::Key_Return);
    EXPECT_FALSE(grid->editorMode());
    key(Qt::Key_Up);
    EXPECT_EQ(
        inFile(QStringLiteral("SELECT \"Транспортное средство\" FROM \"Журнал\" WHERE ID = 2")),
        QStringList({"Грузовик-рефрижерато"}));
}

TEST_F(GridTest, EscapeFirstRestoresTheCellThenCancelsTheRow) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    openGrid();
    goToColumn(Weight);
    type(QStringLiteral("57"));
    EXPECT_EQ(table->State(), dsEdit);
    key(Qt::Key_Escape);
    EXPECT_FALSE(grid->editorMode());
    EXPECT_EQ(shown(0, Weight), QStringLiteral("100"));
    EXPECT_EQ(table->State(), dsEdit); // the row is still being changed
    key(Qt::Key_Escape);
    EXPECT_EQ(table->State(), dsBrowse);

    // A stored change is dropped by the one Esc that cancels the row.
    type(QStringLiteral("3"));
    key(Qt::Key_Return); // stored, not saved
    EXPECT_EQ(shown(0, Weight), QStringLiteral("3"));
    key(Qt::Key_Escape);
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(shown(0, Weight), QStringLiteral("100"));
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Вес груза\" FROM \"Журнал\"")), QStringList({"100"}));
}

TEST_F(GridTest, AFailedStoreKeepsTheEditorTextAndTheCurrentCell) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    addOrder(QStringLiteral("Сидоров"), 200, 2000);
    openGrid();
    goToColumn(Weight);
    type(QStringLiteral("+"));
    key(Qt::Key_Down);
    ASSERT_EQ(errors().size(), 1);
    EXPECT_EQ(errors()[0],
              QStringLiteral("'+' is not a valid integer value for field 'Вес груза'"));
    EXPECT_EQ(table->currentIndex(), 0);
    EXPECT_EQ(grid->currentColumn(), int(Weight));
    EXPECT_EQ(grid->editorText(), QStringLiteral("+"));
    EXPECT_EQ(table->State(), dsEdit);

    key(Qt::Key_Tab);
    EXPECT_EQ(errors().size(), 2);
    EXPECT_EQ(grid->currentColumn(), int(Weight));

    // Leaving the grid: the error, and the focus stays in the grid's editor.
    leaveGrid();
    EXPECT_EQ(errors().size(), 3);
    EXPECT_TRUE(grid->isAncestorOf(QApplication::focusWidget()));
    EXPECT_EQ(grid->editorText(), QStringLiteral("+"));

    // Corrected, the row saves.
    key(Qt::Key_Backspace);
    type(QStringLiteral("42"));
    key(Qt::Key_Down);
    EXPECT_EQ(table->currentIndex(), 1);
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Вес груза\" FROM \"Журнал\" ORDER BY ID")),
              QStringList({"42", "200"}));
}

TEST_F(GridTest, ACursorErrorKeepsTheRowInEditingAndTheCurrentRow) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    addOrder(QStringLiteral("Сидоров"), 200, 2000);
    openGrid();
    goToColumn(Weight);
    type(QStringLiteral("7"));
    // Another program removes the row meanwhile: posting it is refused.
    db.exec(QStringLiteral("DELETE FROM \"Журнал\" WHERE ID = 1"));
    key(Qt::Key_Down);
    ASSERT_EQ(errors().size(), 1);
    EXPECT_EQ(table->State(), dsEdit);
    EXPECT_EQ(table->currentIndex(), 0);
    EXPECT_EQ(shown(0, Weight), QStringLiteral("7"));
    key(Qt::Key_Escape);
    key(Qt::Key_Escape);
    EXPECT_EQ(table->State(), dsBrowse);
}

TEST_F(GridTest, LeavingTheGridDropsAnUntouchedNewRowAndKeepsATypedOne) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    openGrid();
    key(Qt::Key_Insert);
    EXPECT_EQ(table->State(), dsInsert);
    EXPECT_EQ(table->rowCount(), 2);
    leaveGrid();
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(table->rowCount(), 1);

    // Something typed: the text is stored into its field, the row stays new and unsaved.
    grid->setFocus(Qt::MouseFocusReason);
    key(Qt::Key_Insert);
    goToColumn(Client);
    type(QStringLiteral("Петрова"));
    leaveGrid();
    EXPECT_EQ(table->State(), dsInsert);
    EXPECT_EQ(table->FieldByName(QStringLiteral("Клиент")).AsString(), QStringLiteral("Петрова"));
    EXPECT_EQ(inFile(QStringLiteral("SELECT COUNT(*) FROM \"Журнал\"")), QStringList({"1"}));
    table->Post();
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Клиент\" FROM \"Журнал\" ORDER BY ID")),
              QStringList({"Иванов", "Петрова"}));
}

TEST_F(GridTest, TypingIntoAnEmptyCursorStartsANewRow) {
    openGrid();
    EXPECT_EQ(table->rowCount(), 0);
    goToColumn(Client);
    type(QStringLiteral("Ив"));
    EXPECT_EQ(table->State(), dsInsert);
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_EQ(grid->editorText(), QStringLiteral("Ив"));
    key(Qt::Key_Up); // leaves the row: it is posted
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Клиент\" FROM \"Журнал\"")), QStringList({"Ив"}));
}

TEST_F(GridTest, ADepartureYearPastTheLastTheFileHoldsIsRefusedBeforeStoring) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    addOrder(QStringLiteral("Сидоров"), 200, 2000);
    openGrid();
    goToColumn(Departure);
    type(QStringLiteral("01.01.10000"));
    key(Qt::Key_Down);
    ASSERT_EQ(errors().size(), 1);
    EXPECT_EQ(errors()[0], QStringLiteral("'01.01.10000' is not a valid date and time."));
    EXPECT_EQ(table->State(), dsEdit);
    EXPECT_EQ(table->currentIndex(), 0);
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Отправка\" FROM \"Журнал\" ORDER BY ID")),
              QStringList({"2024-03-05 00:00:00", "2024-03-05 00:00:00"}));

    key(Qt::Key_A, Qt::ControlModifier);
    type(QStringLiteral("31.12.9999"));
    key(Qt::Key_Down);
    EXPECT_EQ(errors().size(), 1);
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Отправка\" FROM \"Журнал\" ORDER BY ID")),
              QStringList({"9999-12-31 00:00:00", "2024-03-05 00:00:00"}));
    table->Requery();
    EXPECT_EQ(table->FieldByName(QStringLiteral("Отправка")).AsDateTime().date(),
              QDate(9999, 12, 31));
}

} // namespace kavelon::test
