// Cursors, data sources and controls destroyed in any order: what is left shows nothing, takes
// keys, paints and goes away without reaching what is gone (run under AddressSanitizer, a use of
// freed memory fails the test).
#include "ControlFixture.h"

#include "common/TypeText.h"

#include "controls/LookupList.h"
#include "controls/TDBEdit.h"
#include "controls/TDBGrid.h"
#include "controls/TDBLookupComboBox.h"

#include <QApplication>
#include <algorithm>

namespace kavelon::test {
namespace {

class TeardownTest : public ControlTest {
protected:
    TableCursor* journal = nullptr;
    TableCursor* list = nullptr;
    TDataSource* journalSource = nullptr;
    TDataSource* listSource = nullptr;
    TDBGrid* grid = nullptr;
    TDBEdit* edit = nullptr;
    TDBLookupComboBox* box = nullptr;

    // The journal in a grid and an edit, its settlement in a lookup box over the settlements.
    void SetUp() override {
        ControlTest::SetUp();
        sql(QStringLiteral("INSERT INTO \"Населённые пункты\" VALUES ('Тверь', 170), "
                           "('Клин', 80), ('Тула', 180)"));
        sql(QStringLiteral("INSERT INTO \"Журнал\" (\"Населённый пункт\", \"Клиент\") VALUES "
                           "('Тверь', 'Первый'), ('Тула', 'Второй')"));
        journal = &open(schema::journalTable);
        list = &open(schema::settlementsTable, QStringLiteral("ADOTable2"));
        journalSource = source(*journal);
        listSource = source(*list);

        grid = new TDBGrid(window.get());
        grid->setGeometry(0, 0, 400, 120);
        grid->setDataSource(journalSource);
        edit = new TDBEdit(window.get());
        edit->setGeometry(10, 130, 200, 24);
        edit->setDataSource(journalSource);
        edit->setDataField(QStringLiteral("Клиент"));
        box = new TDBLookupComboBox(window.get());
        box->setGeometry(10, 170, 200, 24);
        box->setDataSource(journalSource);
        box->setDataField(QStringLiteral("Населённый пункт"));
        box->setListSource(listSource);
        box->setKeyField(QStringLiteral("Наименование"));
        box->setListField(QStringLiteral("Наименование"));
        showWindow();

        ASSERT_EQ(grid->columnCount(), 8);
        ASSERT_EQ(edit->text(), QStringLiteral("Первый"));
        ASSERT_EQ(box->Text(), QStringLiteral("Тверь"));
    }

    void destroy(TableCursor*& cursor) {
        std::erase_if(cursors, [&](const auto& c) { return c.get() == cursor; });
        cursor = nullptr;
    }

    // The grid with its editor open on typed, unstored text.
    void typeIntoGrid() {
        focus(grid);
        for (int column = 0; column < 3; ++column) // to "Клиент"
            QTest::keyClick(grid, Qt::Key_Right);
        QTest::keyClick(grid, Qt::Key_F2);
        ASSERT_TRUE(grid->editorMode());
        typeText(QApplication::focusWidget(), QStringLiteral("ой"));
        ASSERT_TRUE(grid->editorModified());
    }

    // What a user does with the controls that are left: painting, keys, clicks, a new font.
    void useEveryControl() {
        window->repaint();
        grid->viewport()->repaint();
        focus(grid);
        for (const auto key : {Qt::Key_Down, Qt::Key_End, Qt::Key_Insert, Qt::Key_F2,
                               Qt::Key_Return, Qt::Key_Escape, Qt::Key_Tab})
            QTest::keyClick(grid, key);
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        typeText(grid, QStringLiteral("я"));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(60, 30));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(60, 30));
        grid->setTitleFont(QFont(QStringLiteral("Sans"), 12));
        grid->setFont(QFont(QStringLiteral("Sans"), 11));
        grid->viewport()->repaint();

        focus(edit);
        typeText(edit, QStringLiteral("ввод"));
        QTest::keyClick(edit, Qt::Key_Backspace);
        edit->repaint();

        focus(box);
        typeText(box, QStringLiteral("Т"));
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
        if (box->listVisible()) {
            box->list()->repaint();
            QTest::keyClick(box->list(), Qt::Key_Down);
            QTest::keyClick(box->list(), Qt::Key_Return);
        }
        box->CloseUp(false);
        box->repaint();
        clickButton();
        EXPECT_EQ(errors(), QStringList());
    }

    void expectEmptyControls() {
        EXPECT_EQ(grid->columnCount(), 0);
        EXPECT_FALSE(grid->editorMode());
        EXPECT_EQ(edit->text(), QString());
        EXPECT_TRUE(edit->isReadOnly());
        EXPECT_EQ(box->Text(), QString());
    }
};

TEST_F(TeardownTest, cursorGoingFirstLeavesItsDataSourceAndControlsWithout) {
    typeIntoGrid();
    destroy(journal);
    EXPECT_EQ(journalSource->DataSet(), nullptr);
    EXPECT_EQ(journalSource->State(), dsInactive);
    EXPECT_FALSE(journalSource->Edit());
    expectEmptyControls();
    useEveryControl();
    expectEmptyControls();

    // The data source has let go of the cursor: it takes another as it took the first.
    TableCursor& again = open(schema::journalTable, QStringLiteral("ADOTable3"));
    journalSource->setDataSet(&again);
    EXPECT_EQ(grid->columnCount(), 8);
    EXPECT_EQ(edit->text(), QStringLiteral("Первый"));
    EXPECT_EQ(box->Text(), QStringLiteral("Тверь"));
    journalSource->setDataSet(nullptr);

    // And the controls go, then the data source, each on its own.
    delete grid;
    delete edit;
    delete box;
    delete journalSource;
    EXPECT_EQ(errors(), QStringList());
}

TEST_F(TeardownTest, dataSourceGoingFirstLeavesItsControlsWithoutAndTheCursorAfterIt) {
    typeIntoGrid();
    delete journalSource;
    EXPECT_EQ(grid->DataSource(), nullptr);
    EXPECT_EQ(edit->DataSource(), nullptr);
    EXPECT_EQ(box->DataSource(), nullptr);
    expectEmptyControls();

    // The grid must hold nothing of the cursor either once it is gone.
    destroy(journal);
    useEveryControl();
    expectEmptyControls();
    delete box;
    delete edit;
    delete grid;
}

TEST_F(TeardownTest, lookupBoxWhoseListCursorGoesFirst) {
    focus(box);
    QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(box->listVisible());
    QTest::keyClick(box->list(), Qt::Key_Down);

    destroy(list);
    EXPECT_EQ(listSource->DataSet(), nullptr);
    ASSERT_TRUE(box->listVisible());
    box->list()->repaint();
    for (const auto key : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Return})
        QTest::keyClick(box->list(), key);
    box->CloseUp(true);
    EXPECT_FALSE(box->listVisible());
    EXPECT_EQ(journal->State(), dsBrowse) << "no choice without a list";
    EXPECT_EQ(journal->FieldByName(QStringLiteral("Населённый пункт")).AsString(),
              QStringLiteral("Тверь"));

    // Without a list, a bound value changed elsewhere shows nothing.
    journal->Next();
    EXPECT_EQ(box->Text(), QString());

    // Then its list data source, and the bound cursor, each before the box.
    delete listSource;
    box->repaint();
    focus(box);
    QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(box, Qt::Key_Escape);
    destroy(journal);
    useEveryControl();
    EXPECT_EQ(box->Text(), QString());
    delete box;
    EXPECT_EQ(errors(), QStringList());
}

} // namespace
} // namespace kavelon::test
