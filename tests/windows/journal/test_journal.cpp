// The journal window driven as a dispatcher drives it: searching, sorting, deleting, closing.

#include "../JournalFixture.h"

#include "windows/journal/Unit3.h"

namespace kavelon::test {

TEST_F(JournalTest, EachSearchBoxReplacesTheOthersFilter) {
    inJournal([this] {
        typeInto(Form2->Edit1, QStringLiteral("ив"));
        EXPECT_EQ(shownColumn(QStringLiteral("Клиент")), QStringList({"Иванов", "Сивкова"}));
        EXPECT_EQ(Form2->ADOTable1->Filter(), QStringLiteral(" Клиент Like '*ив*'"));

        typeInto(Form2->Edit2, QStringLiteral("ов"));
        EXPECT_EQ(shownColumn(QStringLiteral("Водитель")),
                  QStringList({"Орлов", "Смирнов", "Кузнецов"}));
        EXPECT_EQ(Form2->Edit1->text(), QStringLiteral("ив")); // kept, without effect

        // Emptying a box shows every row.
        Form2->Edit2->setFocus();
        for (int i = 0; i < 2; ++i)
            QTest::keyClick(Form2->Edit2, Qt::Key_Backspace);
        EXPECT_EQ(Form2->ADOTable1->RecordCount(), 4);
        EXPECT_TRUE(Form2->ADOTable1->Filtered());

        // A quote is doubled, not taken for the end of the pattern.
        Form2->Edit1->clear();
        typeInto(Form2->Edit1, QStringLiteral("b's"));
        EXPECT_EQ(Form2->ADOTable1->Filter(), QStringLiteral(" Клиент Like '*b''s*'"));
        EXPECT_EQ(shownColumn(QStringLiteral("Клиент")), QStringList({"Ab's"}));
    });
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(JournalTest, SortsByEachItemBothWaysOnlyOnceTheUserPicks) {
    inJournal([this] {
        EXPECT_TRUE(Form2->ADOTable1->Sort().isEmpty()); // shown as "ID", "по возрастанию", not set
        pick(Form2->RadioGroup2, 1); // "по убыванию" first: by ID, descending
        EXPECT_EQ(Form2->ADOTable1->Sort(), QStringLiteral("[ID] DESC"));
        EXPECT_EQ(shownColumn(QStringLiteral("ID")), QStringList({"4", "3", "2", "1"}));

        pick(Form2->RadioGroup1, 3);
        EXPECT_EQ(Form2->ADOTable1->Sort(), QStringLiteral("[Сумма] DESC"));
        EXPECT_EQ(shownColumn(QStringLiteral("Сумма")), QStringList({"500", "300", "200", "100"}));
        pick(Form2->RadioGroup2, 0);
        EXPECT_EQ(shownColumn(QStringLiteral("Сумма")), QStringList({"100", "200", "300", "500"}));

        pick(Form2->RadioGroup1, 1);
        EXPECT_EQ(shownColumn(QStringLiteral("Клиент")),
                  QStringList({"Иванов", "Петров", "Сивкова", "Ab's"}))
            << "Russian collation: Cyrillic before Latin";
        pick(Form2->RadioGroup2, 1);
        EXPECT_EQ(shownColumn(QStringLiteral("Клиент")),
                  QStringList({"Ab's", "Сивкова", "Петров", "Иванов"}));

        pick(Form2->RadioGroup1, 2);
        EXPECT_EQ(Form2->ADOTable1->Sort(), QStringLiteral("[Водитель] DESC"));
        EXPECT_EQ(shownColumn(QStringLiteral("Водитель")),
                  QStringList({"Смирнов", "Орлов", "Кузнецов", "Ивлев"}));
        pick(Form2->RadioGroup2, 0);
        EXPECT_EQ(shownColumn(QStringLiteral("Водитель")),
                  QStringList({"Ивлев", "Кузнецов", "Орлов", "Смирнов"}));

        pick(Form2->RadioGroup1, 0);
        EXPECT_EQ(Form2->ADOTable1->Sort(), QStringLiteral("[ID] ASC"));
        EXPECT_EQ(shownColumn(QStringLiteral("ID")), QStringList({"1", "2", "3", "4"}));
    });
}

TEST_F(JournalTest, DeleteRemovesTheCurrentOrderAtOnceAndFailsOnAnEmptyList) {
    inJournal([this] {
        QTest::keyClick(Form2->DBGrid1, Qt::Key_Down);
        QTest::mouseClick(Form2->Button3, Qt::LeftButton);
        EXPECT_EQ(inFile(QStringLiteral("SELECT \"Клиент\" FROM \"Журнал\" ORDER BY ID")),
                  QStringList({"Иванов", "Петров", "Ab's"}));
        EXPECT_TRUE(forms->boxes.texts(RecordingMessages::Kind::Confirm).isEmpty()); // no question

        typeInto(Form2->Edit1, QStringLiteral("нет такого"));
        EXPECT_EQ(Form2->ADOTable1->RecordCount(), 0);
        QTest::mouseClick(Form2->Button3, Qt::LeftButton);
        EXPECT_EQ(errors(),
                  QStringList({"ADOTable1: Cannot perform this operation on an empty dataset."}));
        EXPECT_EQ(inFile(QStringLiteral("SELECT COUNT(*) FROM \"Журнал\"")), QStringList({"3"}));
    });
}

TEST_F(JournalTest, SearchSortAndCurrentRowSurviveClosingAndShowingAgain) {
    inJournal([this] {
        typeInto(Form2->Edit2, QStringLiteral("ов"));
        pick(Form2->RadioGroup1, 3);
        pick(Form2->RadioGroup2, 1);
        Form2->DBGrid1->setFocus();
        QTest::keyClick(Form2->DBGrid1, Qt::Key_Down);
        QTest::keyClick(Form2->DBGrid1, Qt::Key_Right);
    });
    EXPECT_FALSE(Form2->isVisible());
    inJournal([this] {
        EXPECT_EQ(Form2->Edit2->text(), QStringLiteral("ов"));
        EXPECT_EQ(Form2->RadioGroup1->ItemIndex(), 3);
        EXPECT_EQ(Form2->RadioGroup2->ItemIndex(), 1);
        EXPECT_EQ(Form2->ADOTable1->Filter(), QStringLiteral(" Водитель Like '*ов*'"));
        EXPECT_EQ(Form2->ADOTable1->Sort(), QStringLiteral("[Сумма] DESC"));
        EXPECT_EQ(shownColumn(QStringLiteral("Сумма")), QStringList({"300", "200", "100"}));
        EXPECT_EQ(Form2->ADOTable1->currentIndex(), 1);
        EXPECT_EQ(Form2->DBGrid1->currentColumn(), 1);
    });
}

TEST_F(JournalTest, ClosingFinishesARowLeftInTheGrid) {
    // A change typed and left in the grid is saved by "Закрыть".
    inJournal([this] {
        Form2->DBGrid1->setFocus();
        for (int i = 0; i < 7; ++i)
            QTest::keyClick(Form2->DBGrid1, Qt::Key_Right);
        typeText(QApplication::focusWidget(), QStringLiteral("999"));
        EXPECT_EQ(Form2->ADOTable1->State(), dsEdit);
    });
    EXPECT_EQ(Form2->ADOTable1->State(), dsBrowse);
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Сумма\" FROM \"Журнал\" WHERE ID = 1")),
              QStringList({"999"}));

    // An untouched new row is dropped by the close box.
    inJournal([this] {
        QTest::keyClick(Form2->DBGrid1, Qt::Key_Insert);
        EXPECT_EQ(Form2->ADOTable1->State(), dsInsert);
        Form2->close();
    });
    EXPECT_EQ(Form2->ADOTable1->State(), dsBrowse);
    EXPECT_EQ(Form2->ADOTable1->RecordCount(), 4);

    // A row that cannot be saved keeps the window open, with the reason shown.
    bool stayedOpen = false;
    inJournal([&] {
        Form2->DBGrid1->setFocus();
        typeText(QApplication::focusWidget(), QStringLiteral("1"));
        forms->database.exec(QStringLiteral("DELETE FROM \"Журнал\" WHERE ID = 1"));
        Form2->close();
        stayedOpen = Form2->isVisible();
        EXPECT_EQ(errors().size(), 1);
        EXPECT_EQ(Form2->ADOTable1->State(), dsEdit);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(Form2->ADOTable1->State(), dsBrowse);
}

TEST_F(JournalTest, NewOrderStartsARowOnTheDialogsOwnCursorAndShowsTheDialog) {
    bool dialogShown = false;
    inJournal([&] {
        whenShown(
            Form3, [] { QTest::mouseClick(Form2->Button1, Qt::LeftButton); },
            [&] {
                dialogShown = true;
                EXPECT_EQ(Form3->ADOTable1->State(), dsInsert);
                Form3->close();
            });
    });
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(Form2->ADOTable1->State(), dsBrowse);
}

} // namespace kavelon::test

namespace kavelon::test {

// Insert, then "Удалить": the press took the focus from the grid and so dropped the blank row,
// which is all the dispatcher meant to delete.
TEST_F(JournalTest, DeleteAfterANewRowInTheGridRemovesOnlyThatRow) {
    const QString clients = QStringLiteral("SELECT \"Клиент\" FROM \"Журнал\" ORDER BY ID");
    inJournal([&] {
        TDBGrid* grid = Form2->DBGrid1;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(1, 1).center());
        QTest::keyClick(grid, Qt::Key_Insert);
        EXPECT_EQ(Form2->ADOTable1->State(), dsInsert);
        QTest::mouseClick(Form2->Button3, Qt::LeftButton);
        EXPECT_EQ(Form2->ADOTable1->State(), dsBrowse);
        EXPECT_EQ(inFile(clients), QStringList({"Иванов", "Сивкова", "Петров", "Ab's"}));

        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(3, 1).center());
        QTest::keyClick(grid, Qt::Key_Down);
        EXPECT_EQ(Form2->ADOTable1->State(), dsInsert);
        QTest::mouseClick(Form2->Button3, Qt::LeftButton);
        EXPECT_EQ(inFile(clients), QStringList({"Иванов", "Сивкова", "Петров", "Ab's"}));

        QTest::mouseClick(Form2->Button3, Qt::LeftButton); // now the current order
        EXPECT_EQ(inFile(clients).size(), 3);
    });
    EXPECT_TRUE(errors().isEmpty());
}

} // namespace kavelon::test
