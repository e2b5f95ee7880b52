// The four reference lists and their entry dialogs, driven as the dispatcher drives them, with the
// database file checked afterwards.

#include "../JournalFixture.h"

#include "controls/LookupList.h"
#include "controls/TDBEdit.h"
#include "controls/TDBLookupComboBox.h"
#include "data/FieldText.h"
#include "windows/reference/Unit10.h"
#include "windows/reference/Unit11.h"
#include "windows/reference/Unit12.h"
#include "windows/reference/Unit5.h"
#include "windows/reference/Unit6.h"
#include "windows/reference/Unit7.h"
#include "windows/reference/Unit8.h"
#include "windows/reference/Unit9.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>

namespace kavelon::test {

namespace {

const QString NotAllFilled = QStringLiteral("Не все поля заполнены");

} // namespace

class ReferenceTest : public JournalTest {
protected:
    // Rows written behind the list's back, then read by its cursor.
    void seed(ReferenceListWindow* list, const QString& sql) {
        forms->database.exec(sql);
        list->ADOTable1->Requery();
    }

    // Shows the list modally, runs act in it and closes it with "Закрыть" if still shown.
    void inList(ReferenceListWindow* list, const std::function<void()>& act) {
        whenShown(
            list, [list] { showModal(list); },
            [&] {
                act();
                if (list->isVisible())
                    click(list->Button4);
            });
    }

    // In the list: "Добавить", act in the dialog, then its close box if it is still shown.
    void inDialog(ReferenceListWindow* list, QWidget* dialog, const std::function<void()>& act) {
        whenShown(
            dialog, [list] { click(list->Button1); },
            [&] {
                act();
                if (dialog->isVisible())
                    dialog->close();
            });
    }

    static void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    static void fill(TDBEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        typeText(edit, text);
    }
    static QWidget* focused(QWidget* fallback) {
        QWidget* w = QApplication::focusWidget();
        return w ? w : fallback;
    }
    static void clickCell(TDBGrid* grid, int row, int column) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->cellRect(row, column).center());
    }
    static void typeInGrid(TDBGrid* grid, const QString& text) { typeText(focused(grid), text); }
    static void keyInGrid(TDBGrid* grid, Qt::Key key) { QTest::keyClick(focused(grid), key); }

    QStringList messages() const { return forms->boxes.texts(RecordingMessages::Kind::Message); }

    // What the list's grid shows for a column of a row.
    static QString shown(ReferenceListWindow* list, int row, const QString& column) {
        const Field& f = list->ADOTable1->FieldByName(column);
        return fieldtext::display(list->ADOTable1->valueAt(row, f.index()), f.kind());
    }
};

TEST_F(ReferenceTest, ListsAndDialogsAreLaidOutAsDesigned) {
    EXPECT_EQ(Form5->windowTitle(), QStringLiteral("Клиенты"));
    EXPECT_EQ(Form5->size(), QSize(701, 355));
    EXPECT_EQ(Form5->DBGrid1->geometry(), QRect(0, 0, 833, 249)); // wider than the window
    EXPECT_EQ(Form5->Panel1->geometry(), QRect(0, 250, 701, 105));
    EXPECT_EQ(Form5->Button2->geometry(), QRect(110, 16, 113, 25));
    EXPECT_EQ(Form5->Button2->font().family(), QStringLiteral("Georgia"));
    EXPECT_EQ(Form7->DBGrid1->geometry(), QRect(0, 0, 530, 337));
    EXPECT_EQ(Form9->Panel1->geometry(), QRect(0, 282, 694, 57));
    EXPECT_EQ(Form11->windowTitle(), QStringLiteral("Водители"));
    EXPECT_EQ(Form11->Button2->geometry(), QRect(120, 24, 99, 25));
    EXPECT_EQ(Form11->Button2->font().family(), Form11->font().family());
    EXPECT_EQ(Form11->DBGrid1->columnCount(), 7);

    EXPECT_EQ(Form6->windowTitle(), QStringLiteral("Добавить клиента"));
    EXPECT_EQ(Form6->size(), QSize(356, 239));
    EXPECT_EQ(Form6->Label3->pos(), QPoint(24, 98));
    EXPECT_EQ(Form6->DBEdit3->geometry(), QRect(176, 104, 137, 21));
    EXPECT_TRUE(Form6->Label1->font().bold());
    EXPECT_FALSE(Form8->Label1->font().bold());
    EXPECT_EQ(Form10->Label5->text(), QStringLiteral("Цена перевозки 1кг/1км"));
    EXPECT_EQ(Form10->DBEdit5->geometry(), QRect(257, 196, 136, 21));
    EXPECT_EQ(Form12->CheckBox1->geometry(), QRect(160, 128, 113, 17));
    EXPECT_EQ(Form12->Button2->geometry(), QRect(256, 296, 97, 25));
    EXPECT_FALSE(Form12->CheckBox1->isChecked());
    // Each label of the driver dialog ends before its edit begins.
    for (QLabel* l : {Form12->Label3, Form12->Label4, Form12->Label5})
        EXPECT_LT(l->geometry().right(), 264) << l->text().toStdString();
    EXPECT_FALSE(Form6->Button1->isDefault() || Form6->Button1->autoDefault());

    // The tab order: edits, "Добавить", "Отмена"; in the driver dialog the box after "Добавить".
    EXPECT_EQ(Form6->DBEdit4->nextInFocusChain(), Form6->Button1);
    EXPECT_EQ(Form6->Button1->nextInFocusChain(), Form6->Button2);
    EXPECT_EQ(Form12->DBEdit4->nextInFocusChain(), Form12->DBLookupComboBox1);
    EXPECT_EQ(Form12->Button1->nextInFocusChain(), Form12->CheckBox1);
    EXPECT_EQ(Form12->CheckBox1->nextInFocusChain(), Form12->Button2);
    EXPECT_EQ(Form9->Button3->nextInFocusChain(), Form9->Button4);
}

TEST_F(ReferenceTest, DeleteOnAnEmptyListShowsTheCursorsError) {
    inList(Form7, [&] { click(Form7->Button3); });
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors()[0].startsWith(
        QStringLiteral("ADOTable1: Cannot perform this operation on an empty dataset")))
        << errors()[0].toStdString();
}

TEST_F(ReferenceTest, DeleteDropsANewRowAndDeletesTheRowInEditing) {
    inList(Form7, [&] {
        EXPECT_TRUE(Form7->DBGrid1->isAncestorOf(QApplication::focusWidget()) ||
                    QApplication::focusWidget() == Form7->DBGrid1);
        click(Form7->Button2); // an empty list: a new row
        EXPECT_EQ(Form7->ADOTable1->State(), dsInsert);
        click(Form7->Button3);
        EXPECT_EQ(Form7->ADOTable1->State(), dsBrowse);
    });
    seed(Form7, QStringLiteral("INSERT INTO \"Населённые пункты\" VALUES ('Тверь', 120), "
                               "('Клин', 80)"));
    inList(Form7, [&] {
        click(Form7->Button2);
        click(Form7->Button3);
        EXPECT_EQ(Form7->ADOTable1->State(), dsBrowse);
        EXPECT_EQ(Form7->ADOTable1->RecordCount(), 1);
    });
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Наименование\" FROM \"Населённые пункты\"")),
              QStringList{"Клин"});
    EXPECT_TRUE(errors().isEmpty());
}

// A row that cannot be stored keeps the window open, with the reason in the error box.
TEST_F(ReferenceTest, ClosingWithARowThatCannotBeStoredKeepsTheListOpen) {
    seed(Form7, QStringLiteral("INSERT INTO \"Населённые пункты\" VALUES ('Тверь', 120)"));
    inList(Form7, [&] {
        TDBGrid* grid = Form7->DBGrid1;
        clickCell(grid, 0, 1);
        typeInGrid(grid, QStringLiteral("-"));
        Form7->close(); // the close box
        EXPECT_TRUE(Form7->isVisible());
        ASSERT_EQ(errors().size(), 1);
        EXPECT_TRUE(errors()[0].contains(QStringLiteral("Растояние до НП")));
        keyInGrid(grid, Qt::Key_Escape);
        keyInGrid(grid, Qt::Key_Escape);
    });
    EXPECT_FALSE(Form7->isVisible());
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Растояние до НП\" FROM \"Населённые пункты\"")),
              QStringList{"120"});
}

TEST_F(ReferenceTest, RowsChangeInTheGridWithOrWithoutEditAndClosingKeepsTheChange) {
    seed(Form7, QStringLiteral("INSERT INTO \"Населённые пункты\" VALUES ('Тверь', 120), "
                               "('Клин', 80), ('Дмитров', 45)"));
    const QString names = QStringLiteral("SELECT \"Наименование\" FROM \"Населённые пункты\"");
    inList(Form7, [&] {
        TDBGrid* grid = Form7->DBGrid1;
        click(Form7->Button2);
        EXPECT_EQ(Form7->ADOTable1->State(), dsEdit);
        clickCell(grid, 1, 0); // another row, nothing typed
        EXPECT_EQ(Form7->ADOTable1->State(), dsBrowse);
        EXPECT_EQ(inFile(names), QStringList({"Тверь", "Клин", "Дмитров"}));

        clickCell(grid, 0, 0);
        typeInGrid(grid, QStringLiteral("Ржев"));
        EXPECT_EQ(Form7->ADOTable1->State(), dsEdit);
        keyInGrid(grid, Qt::Key_Down);
        EXPECT_EQ(inFile(names), QStringList({"Ржев", "Клин", "Дмитров"}));

        // A change left in the grid is kept when the window closes.
        typeInGrid(grid, QStringLiteral("Ока"));
        click(Form7->Button4);
        EXPECT_FALSE(Form7->isVisible());
    });
    EXPECT_EQ(Form7->ADOTable1->State(), dsBrowse);
    EXPECT_EQ(inFile(names), QStringList({"Ржев", "Ока", "Дмитров"}));
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(ReferenceTest, EditOnAnEmptyListStartsANewRowThatDownSaves) {
    inList(Form11, [&] {
        TDBGrid* grid = Form11->DBGrid1;
        click(Form11->Button2);
        EXPECT_EQ(Form11->ADOTable1->State(), dsInsert);
        click(Form11->Button2); // again: nothing changes
        EXPECT_EQ(Form11->ADOTable1->State(), dsInsert);
        grid->setFocus();
        keyInGrid(grid, Qt::Key_Home);
        keyInGrid(grid, Qt::Key_Right); // past the read-only "Код"
        typeInGrid(grid, QStringLiteral("Орлов"));
        keyInGrid(grid, Qt::Key_Down);
    });
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"ФИО\" FROM \"Водители\"")), QStringList{"Орлов"});
    // Nothing stored in "Межд ВУ": the grid shows nothing there.
    EXPECT_EQ(shown(Form11, 0, QStringLiteral("Межд ВУ")), QString());
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(ReferenceTest, CustomerNeedsTextInEveryEditAndShowsFirstRowCurrent) {
    seed(Form5, QStringLiteral("INSERT INTO \"Клиенты\" (\"Наименование\") VALUES ('Альфа'), "
                               "('Бета'), ('Гамма')"));
    const QString names = QStringLiteral("SELECT \"Наименование\" FROM \"Клиенты\"");
    inList(Form5, [&] {
        clickCell(Form5->DBGrid1, 1, 0);
        EXPECT_EQ(Form5->ADOTable1->currentIndex(), 1);
        inDialog(Form5, Form6, [&] {
            fill(Form6->DBEdit1, QStringLiteral("Дельта"));
            fill(Form6->DBEdit2, QStringLiteral("Петров"));
            fill(Form6->DBEdit4, QStringLiteral("555"));
            click(Form6->Button1);
            EXPECT_EQ(messages(), QStringList{NotAllFilled});
            EXPECT_TRUE(Form6->isVisible());
            EXPECT_EQ(Form6->ADOTable1->State(), dsInsert);
            EXPECT_EQ(inFile(names).size(), 3);

            fill(Form6->DBEdit3, QStringLiteral("Тверь"));
            click(Form6->Button1);
            EXPECT_FALSE(Form6->isVisible());
        });
        EXPECT_EQ(Form5->ADOTable1->RecordCount(), 4);
        EXPECT_EQ(Form5->ADOTable1->currentIndex(), 0);
        EXPECT_EQ(shown(Form5, 3, QStringLiteral("Наименование")), QStringLiteral("Дельта"));

        // One blank is text enough.
        inDialog(Form5, Form6, [&] {
            EXPECT_TRUE(Form6->DBEdit1->text().isEmpty());
            for (TDBEdit* e : {Form6->DBEdit1, Form6->DBEdit2, Form6->DBEdit3, Form6->DBEdit4})
                fill(e, QStringLiteral(" "));
            click(Form6->Button1);
        });
    });
    EXPECT_EQ(inFile(names), QStringList({"Альфа", "Бета", "Гамма", "Дельта", " "}));
    EXPECT_EQ(messages().size(), 1);
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(ReferenceTest, ASignAloneIsOneIntegerErrorAndCancelDropsTheRow) {
    inList(Form7, [&] {
        inDialog(Form7, Form8, [&] {
            fill(Form8->DBEdit1, QStringLiteral("Ржев"));
            fill(Form8->DBEdit2, QStringLiteral("-"));
            click(Form8->Button1);
            ASSERT_EQ(errors().size(), 1);
            EXPECT_TRUE(errors()[0].contains(QStringLiteral("Растояние до НП")));
            EXPECT_TRUE(Form8->isVisible());
            EXPECT_EQ(Form8->ADOTable1->State(), dsInsert);

            QTest::keyClick(Form8->DBEdit2, Qt::Key_Escape); // the stored text back
            click(Form8->Button2);
            EXPECT_FALSE(Form8->isVisible());
        });
        EXPECT_EQ(Form7->ADOTable1->RecordCount(), 0);
    });
    EXPECT_EQ(Form8->ADOTable1->State(), dsBrowse);
    EXPECT_TRUE(inFile(QStringLiteral("SELECT * FROM \"Населённые пункты\"")).isEmpty());
    EXPECT_EQ(errors().size(), 1);
}

TEST_F(ReferenceTest, DriverIsSavedUncheckedAndTheBoxKeepsItsState) {
    inList(Form11, [&] {
        inDialog(Form11, Form12, [&] { click(Form12->Button1); }); // every field empty
        inDialog(Form11, Form12, [&] {
            EXPECT_FALSE(Form12->CheckBox1->isChecked());
            // Each label of the driver dialog ends before its edit begins.
            for (QLabel* l : {Form12->Label3, Form12->Label4, Form12->Label5})
                EXPECT_LT(l->geometry().right(), 264) << l->text().toStdString();
            click(Form12->CheckBox1);
            fill(Form12->DBEdit1, QStringLiteral("Орлов"));
            click(Form12->Button1);
        });
        inDialog(Form11, Form12, [&] { EXPECT_TRUE(Form12->CheckBox1->isChecked()); });
        EXPECT_EQ(Form11->ADOTable1->RecordCount(), 2);
        EXPECT_EQ(shown(Form11, 0, QStringLiteral("Межд ВУ")), QStringLiteral("False"));
        EXPECT_EQ(shown(Form11, 1, QStringLiteral("Межд ВУ")), QStringLiteral("True"));
    });
    EXPECT_EQ(inFile(QStringLiteral("SELECT coalesce(\"ФИО\", 'NULL') || '|' || \"Межд ВУ\" "
                                    "FROM \"Водители\" ORDER BY \"Код\"")),
              QStringList({"NULL|0", "Орлов|1"}));
    EXPECT_TRUE(errors().isEmpty());
}

// The close box drops the half-filled row: nothing is stored unchecked at the next "Добавить".
TEST_F(ReferenceTest, CloseBoxOfADialogDropsTheRowAsCancelDoes) {
    inList(Form5, [&] {
        inDialog(Form5, Form6, [&] {
            fill(Form6->DBEdit1, QStringLiteral("Наполовину"));
            fill(Form6->DBEdit2, QStringLiteral("Иванов"));
            Form6->close();
        });
        EXPECT_EQ(Form6->ADOTable1->State(), dsBrowse);
        inDialog(Form5, Form6, [&] {
            EXPECT_TRUE(Form6->DBEdit1->text().isEmpty());
            EXPECT_TRUE(Form6->DBEdit2->text().isEmpty());
        });
    });
    EXPECT_TRUE(inFile(QStringLiteral("SELECT * FROM \"Клиенты\"")).isEmpty());
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_TRUE(errors().isEmpty());
}

// A vehicle added in "Транспортные средства" can be chosen for a driver at once.
TEST_F(ReferenceTest, DriverDialogOffersAVehicleAddedMeanwhile) {
    seed(Form9, QStringLiteral("INSERT INTO \"Транспортные ср-ва\" (\"Марка\") VALUES ('ГАЗель')"));
    Form12->ADOTable2->Requery();
    inList(Form9, [&] {
        inDialog(Form9, Form10, [&] {
            for (TDBEdit* e : {Form10->DBEdit1, Form10->DBEdit2, Form10->DBEdit3, Form10->DBEdit4,
                               Form10->DBEdit5})
                fill(e, QStringLiteral("КамАЗ"));
            click(Form10->Button1);
        });
        EXPECT_EQ(Form9->ADOTable1->RecordCount(), 2);
    });
    inList(Form11, [&] {
        inDialog(Form11, Form12, [&] {
            TDBLookupComboBox* box = Form12->DBLookupComboBox1;
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
            QWidget* list = box->list();
            QTest::keyClick(list, Qt::Key_Home);
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_Return);
            click(Form12->Button1);
        });
    });
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Автомобиль\" FROM \"Водители\"")),
              QStringList{"КамАЗ"});
    EXPECT_TRUE(errors().isEmpty());
}

// A vehicle box whose list opened on no highlighted row stores nothing when it closes; the
// driver is saved without a vehicle, and the next one with the vehicle picked for him.
TEST_F(ReferenceTest, DriverVehicleIsStoredOnlyWhenPicked) {
    seed(Form9, QStringLiteral("INSERT INTO \"Транспортные ср-ва\" (\"Марка\") VALUES "
                               "('ГАЗель'), ('КамАЗ')"));
    inList(Form11, [&] {
        inDialog(Form11, Form12, [&] {
            TDBLookupComboBox* box = Form12->DBLookupComboBox1;
            fill(Form12->DBEdit1, QStringLiteral("Орлов"));
            for (const auto& [key, modifiers] : {std::pair{Qt::Key_Return, Qt::NoModifier},
                                                 std::pair{Qt::Key_Down, Qt::AltModifier},
                                                 std::pair{Qt::Key_Up, Qt::AltModifier}}) {
                box->setFocus();
                QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
                ASSERT_TRUE(box->listVisible());
                QTest::keyClick(box->list(), key, modifiers);
                EXPECT_FALSE(box->listVisible());
                EXPECT_TRUE(box->Text().isEmpty());
            }
            click(Form12->Button1);
        });
        inDialog(Form11, Form12, [&] {
            TDBLookupComboBox* box = Form12->DBLookupComboBox1;
            fill(Form12->DBEdit1, QStringLiteral("Седов"));
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
            QTest::keyClick(box->list(), Qt::Key_Home);
            QTest::keyClick(box->list(), Qt::Key_Down);
            QTest::keyClick(box->list(), Qt::Key_Return);
            EXPECT_EQ(box->Text(), QStringLiteral("КамАЗ"));
            click(Form12->Button1);
        });
    });
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"ФИО\" || '|' || coalesce(\"Автомобиль\", 'NULL') "
                                    "FROM \"Водители\" ORDER BY \"Код\"")),
              QStringList({"Орлов|NULL", "Седов|КамАЗ"}));
    EXPECT_TRUE(errors().isEmpty());
}

} // namespace kavelon::test

namespace kavelon::test {

// Insert, or Down past the last row, then "Удалить": the press took the focus from the grid and so
// dropped the blank row, which is all the dispatcher meant to delete. The next press deletes.
TEST_F(ReferenceTest, DeleteAfterANewRowRemovesOnlyThatRowInEveryList) {
    const struct {
        ReferenceListWindow* list;
        const char* table;
        const char* column;
    } lists[] = {{Form5, "Клиенты", "Наименование"},
                 {Form7, "Населённые пункты", "Наименование"},
                 {Form9, "Транспортные ср-ва", "Марка"},
                 {Form11, "Водители", "ФИО"}};
    for (const auto& l : lists) {
        const QString table = QString::fromUtf8(l.table), column = QString::fromUtf8(l.column);
        seed(l.list, QStringLiteral("INSERT INTO \"%1\" (\"%2\") VALUES ('Первый'), ('Второй'), "
                                    "('Третий')")
                         .arg(table, column));
        const QString names = QStringLiteral("SELECT \"%1\" FROM \"%2\"").arg(column, table);
        SCOPED_TRACE(l.table);
        inList(l.list, [&] {
            TDBGrid* grid = l.list->DBGrid1;
            clickCell(grid, 1, 0);
            keyInGrid(grid, Qt::Key_Insert);
            EXPECT_EQ(l.list->ADOTable1->State(), dsInsert);
            click(l.list->Button3);
            EXPECT_EQ(l.list->ADOTable1->State(), dsBrowse);
            EXPECT_EQ(inFile(names), QStringList({"Первый", "Второй", "Третий"}));

            clickCell(grid, 2, 0);
            keyInGrid(grid, Qt::Key_Down); // a blank row appended
            EXPECT_EQ(l.list->ADOTable1->State(), dsInsert);
            click(l.list->Button3);
            EXPECT_EQ(inFile(names), QStringList({"Первый", "Второй", "Третий"}));
            EXPECT_EQ(l.list->ADOTable1->RecordCount(), 3);

            // The focus stayed on the button: this press deletes the current row.
            click(l.list->Button3);
            EXPECT_EQ(inFile(names).size(), 2);
        });
    }
    EXPECT_TRUE(errors().isEmpty());
}

// With an empty list the blank row goes without the empty-cursor error.
TEST_F(ReferenceTest, DeleteAfterInsertOnAnEmptyListShowsNoError) {
    inList(Form7, [&] {
        Form7->DBGrid1->setFocus();
        keyInGrid(Form7->DBGrid1, Qt::Key_Insert);
        click(Form7->Button3);
        EXPECT_EQ(Form7->ADOTable1->State(), dsBrowse);
        EXPECT_EQ(Form7->ADOTable1->RecordCount(), 0);
    });
    EXPECT_TRUE(errors().isEmpty());
}

// Neither button is a default button: Enter in an edit presses nothing, Enter on the focused
// "Добавить" presses it.
TEST_F(ReferenceTest, EnterPressesTheFocusedButtonOfADialogAndNothingFromAnEdit) {
    inList(Form7, [&] {
        inDialog(Form7, Form8, [&] {
            fill(Form8->DBEdit1, QStringLiteral("Ржев"));
            fill(Form8->DBEdit2, QStringLiteral("45"));
            QTest::keyClick(Form8->DBEdit2, Qt::Key_Return);
            QTest::keyClick(Form8->DBEdit2, Qt::Key_Enter, Qt::KeypadModifier);
            EXPECT_TRUE(Form8->isVisible());
            EXPECT_TRUE(inFile(QStringLiteral("SELECT * FROM \"Населённые пункты\"")).isEmpty());

            ASSERT_TRUE(QTest::qWaitForWindowActive(Form8));
            QTest::keyClick(Form8->DBEdit2, Qt::Key_Tab);
            ASSERT_EQ(QApplication::focusWidget(), Form8->Button1);
            QTest::keyClick(Form8->Button1, Qt::Key_Return);
            EXPECT_FALSE(Form8->isVisible());
        });
        EXPECT_EQ(Form7->ADOTable1->RecordCount(), 1);

        // Keypad Enter on "Отмена" drops the row.
        inDialog(Form7, Form8, [&] {
            fill(Form8->DBEdit1, QStringLiteral("Клин"));
            Form8->Button2->setFocus(Qt::TabFocusReason);
            QTest::keyClick(Form8->Button2, Qt::Key_Enter, Qt::KeypadModifier);
            EXPECT_FALSE(Form8->isVisible());
        });
    });
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Наименование\" FROM \"Населённые пункты\"")),
              QStringList{"Ржев"});
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_TRUE(errors().isEmpty());
}

// A cell that does not convert keeps the focus when "Закрыть" is pressed: after the error box the
// button is neither pressed nor drawn pressed, and the window stays.
TEST_F(ReferenceTest, CloseAfterACellThatDoesNotConvertLeavesTheButtonUp) {
    seed(Form11,
         QStringLiteral("INSERT INTO \"Водители\" (\"ФИО\", \"№ ВУ\") VALUES ('Орлов', 7)"));
    inList(Form11, [&] {
        TDBGrid* grid = Form11->DBGrid1;
        clickCell(grid, 0, 2); // "№ ВУ"
        typeInGrid(grid, QStringLiteral("-"));
        QTest::mousePress(Form11->Button4, Qt::LeftButton);
        ASSERT_EQ(errors().size(), 1);
        EXPECT_TRUE(errors()[0].contains(QStringLiteral("№ ВУ"))) << errors()[0].toStdString();
        EXPECT_FALSE(Form11->Button4->isDown());
        EXPECT_TRUE(grid->isAncestorOf(QApplication::focusWidget()));
        QTest::mouseRelease(Form11->Button4, Qt::LeftButton);
        EXPECT_TRUE(Form11->isVisible());
        EXPECT_EQ(errors().size(), 1);
        EXPECT_EQ(grid->editorText(), QStringLiteral("-"));
        keyInGrid(grid, Qt::Key_Escape);
        keyInGrid(grid, Qt::Key_Escape);
        EXPECT_FALSE(Form11->Button4->isDown());
    });
    EXPECT_FALSE(Form11->isVisible());
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"№ ВУ\" FROM \"Водители\"")), QStringList{"7"});
}

} // namespace kavelon::test
