// The grid's editing rules on their own: GridEditing on a real cursor, with a plain object in
// place of the grid widget (its columns the cursor's fields, its editor a line of text and a
// caret), so each rule is driven by the call it stands for rather than by key events.

#include "GridFixture.h"
#include "controls/GridEditing.h"

namespace kavelon::test {

namespace {

using Key = GridEditing::KeyResult;

// The grid's side of the rules: columns, rows in view and the in-place editor as plain data.
class PlainGrid final : public GridEditing::View {
public:
    GridEditing* editing = nullptr;
    std::vector<int> fields; // the field of each column
    int top = 0;
    int shownRows = 10;
    bool editorShown = false;
    bool editorFocused = false;
    QString text;
    int maxLength = 0;
    Qt::Alignment alignment;
    bool allSelected = false;
    bool partSelected = false; // some of the text, the caret at one end of it
    int caret = 0;
    int refills = 0; // texts put into the editor by the rules

    int columnCount() const override { return int(fields.size()); }
    int columnField(int column) const override { return fields.at(std::size_t(column)); }
    int topRow() const override { return top; }
    int visibleRowCount() const override { return shownRows; }
    void fieldsChanged() override {
        const TableCursor* c = editing->cursor();
        const int count = c ? c->FieldCount() : 0;
        if (count == columnCount())
            return;
        fields.clear();
        for (int i = 0; i < count; ++i)
            fields.push_back(i);
        editing->placeColumn(0);
    }
    void revealRow() override {}
    void revealColumn() override {}
    void updateScrollBars() override {}
    void changed() override {}
    void showEditor() override { editorShown = true; }
    void focusEditor() override { editorFocused = true; }
    void hideEditor() override { editorShown = editorFocused = false; }
    void placeEditor() override {}
    void setEditorText(const QString& t, int length, Qt::Alignment a) override {
        text = t;
        maxLength = length;
        alignment = a;
        allSelected = true;
        caret = int(t.size());
        ++refills;
    }
    QString editorText() const override { return text; }
    GridEditing::Caret editorCaret() const override {
        return {caret, int(text.size()), partSelected || (allSelected && !text.isEmpty()),
                allSelected};
    }

    // What a line edit does with a key the rules left to it.
    void typeIn(QChar ch) {
        if (allSelected)
            text.clear(), caret = 0;
        allSelected = false;
        if (text.size() < maxLength)
            text.insert(caret++, ch);
    }
    void backspace() {
        if (allSelected)
            text.clear(), caret = 0;
        else if (caret > 0)
            text.remove(--caret, 1);
        allSelected = false;
    }
};

} // namespace

class GridEditingTest : public GridTest {
protected:
    PlainGrid view;
    std::unique_ptr<TDataSource> data;
    std::unique_ptr<GridEditing> editing;

    void TearDown() override {
        editing.reset();
        data.reset();
        GridTest::TearDown();
    }

    void open(std::vector<ColumnSchema> fields = schema::journal().columns) {
        table = std::make_unique<TableCursor>(QStringLiteral("ADOTable1"));
        table->setConnection(&connection);
        table->setTableName(schema::journalTable);
        table->declareFields(fields);
        table->Open();
        data = std::make_unique<TDataSource>();
        data->setDataSet(table.get());
        editing = std::make_unique<GridEditing>(view);
        view.editing = editing.get();
        editing->setDataSource(data.get());
    }

    Key key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        return editing->editorMode() ? editing->editorKey(k, mods) : editing->key(k, mods);
    }
    // Typed characters, each as the grid passes it on: to the grid, then (opened) to the editor.
    Key type(const QString& characters) {
        Key result = Key::Done;
        for (const QChar ch : characters) {
            if (!editing->editorMode() &&
                (result = editing->key(0, Qt::NoModifier, QString(ch))) != Key::ToEditor)
                continue;
            result = editing->editorKey(0, Qt::NoModifier, QString(ch));
            if (result == Key::ToEditor) {
                view.typeIn(ch);
                editing->edited();
            }
        }
        return result;
    }
    Key backspace() {
        const Key result = editing->editorKey(Qt::Key_Backspace, Qt::NoModifier);
        if (result == Key::ToEditor) {
            view.backspace();
            editing->edited();
        }
        return result;
    }
    QStringList weights() const {
        return inFile(QStringLiteral("SELECT \"Вес груза\" FROM \"Журнал\" ORDER BY ID"));
    }
};

TEST_F(GridEditingTest, TheEditorHoldsTheCellsTextAndReturnStoresWithoutSaving) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    addOrder(QStringLiteral("Сидоров"), 200, 2000);
    open();
    editing->goToColumn(Vehicle);
    EXPECT_EQ(key(Qt::Key_F2), Key::Done);
    EXPECT_TRUE(view.editorShown);
    EXPECT_TRUE(view.editorFocused);
    EXPECT_EQ(view.text, QStringLiteral("ГАЗ"));
    EXPECT_EQ(view.maxLength, 20); // text(20)
    EXPECT_TRUE(view.alignment & Qt::AlignLeft);
    editing->goToColumn(Weight); // the open editor goes along
    EXPECT_EQ(view.text, QStringLiteral("100"));
    EXPECT_TRUE(view.alignment & Qt::AlignRight);
    EXPECT_EQ(key(Qt::Key_Return), Key::Done); // unchanged: closed, nothing asked of the row
    EXPECT_FALSE(view.editorShown);
    EXPECT_EQ(table->State(), dsBrowse);

    EXPECT_EQ(type(QStringLiteral("5")), Key::ToEditor); // opens the editor and replaces "100"
    EXPECT_EQ(view.text, QStringLiteral("5"));
    EXPECT_TRUE(editing->editorModified());
    EXPECT_EQ(table->State(), dsEdit);
    key(Qt::Key_Return);
    EXPECT_FALSE(editing->editorMode());
    EXPECT_EQ(table->FieldByName(QStringLiteral("Вес груза")).AsInteger(), 5);
    EXPECT_EQ(weights(), QStringList({"100", "200"})); // stored into the row, not saved
    key(Qt::Key_Return);
    EXPECT_EQ(view.text, QStringLiteral("5")); // the pending row's value
    key(Qt::Key_Down);
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(weights(), QStringList({"5", "200"}));
    EXPECT_EQ(view.text, QStringLiteral("200")); // the editor follows the row
    EXPECT_FALSE(editing->editorModified());
}

TEST_F(GridEditingTest, WhatAKeyMayChangeDependsOnTheFieldAndTheSource) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    std::vector<ColumnSchema> fields = schema::journal().columns;
    fields[Client].readOnly = true;
    open(fields);
    editing->goToColumn(Weight);
    EXPECT_EQ(type(QStringLiteral("a")), Key::Refused);
    EXPECT_EQ(view.text, QStringLiteral("100"));
    EXPECT_FALSE(editing->editorModified());
    EXPECT_EQ(table->State(), dsBrowse);

    // An auto-number takes nothing: digits and deletions are dropped silently, letters refused.
    editing->goToColumn(ID);
    EXPECT_EQ(type(QStringLiteral("7")), Key::Done);
    EXPECT_EQ(type(QStringLiteral("x")), Key::Refused);
    EXPECT_EQ(backspace(), Key::Done);
    EXPECT_EQ(editing->editorKey(Qt::Key_V, Qt::ControlModifier, {}, true), Key::Done);
    EXPECT_EQ(editing->editorKey(Qt::Key_Insert, Qt::ShiftModifier), Key::Done);
    // A read-only text field drops what it would take.
    editing->goToColumn(Client);
    EXPECT_EQ(type(QStringLiteral("Ж")), Key::Done);
    EXPECT_EQ(view.text, QStringLiteral("Иванов"));
    EXPECT_EQ(table->State(), dsBrowse);

    // Without AutoEdit a browsing row takes nothing; once in editing, it does.
    data->setAutoEdit(false);
    editing->goToColumn(Weight);
    EXPECT_EQ(type(QStringLiteral("4")), Key::Done);
    EXPECT_EQ(table->State(), dsBrowse);
    table->Edit();
    EXPECT_EQ(type(QStringLiteral("4")), Key::ToEditor);
    EXPECT_EQ(view.text, QStringLiteral("4"));

    // Keys that mean nothing to the grid go on to its parent.
    EXPECT_EQ(editing->key(Qt::Key_F5, Qt::NoModifier), Key::Ignored);
    EXPECT_EQ(editing->key(Qt::Key_Insert, Qt::ShiftModifier), Key::Ignored);
    EXPECT_EQ(editing->key(Qt::Key_Delete, Qt::NoModifier), Key::Ignored);
    EXPECT_EQ(editing->key(Qt::Key_S, Qt::ControlModifier, QStringLiteral("s")), Key::Ignored);
}

TEST_F(GridEditingTest, TheCaretLeavesTheCellOnlyFromItsEdgesOrAWholeSelection) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    open();
    editing->goToColumn(Client);
    editing->openEditor();
    EXPECT_EQ(key(Qt::Key_Left), Key::Done); // all selected: leaves
    EXPECT_EQ(editing->currentColumn(), int(Settlement));
    editing->goToColumn(Client);
    view.allSelected = false;
    view.caret = 2;
    EXPECT_EQ(key(Qt::Key_Left), Key::ToEditor);
    EXPECT_EQ(key(Qt::Key_End), Key::ToEditor);
    EXPECT_EQ(key(Qt::Key_Right, Qt::ControlModifier), Key::Done);
    EXPECT_EQ(editing->currentColumn(), int(Sum));
    editing->goToColumn(Client);
    view.allSelected = false;
    view.caret = int(view.text.size());
    EXPECT_EQ(key(Qt::Key_Home), Key::ToEditor);
    view.partSelected = true; // a selection ending at the text's end: Right only drops it
    EXPECT_EQ(key(Qt::Key_Right), Key::ToEditor);
    view.partSelected = false;
    EXPECT_EQ(key(Qt::Key_Right), Key::Done);
    EXPECT_EQ(editing->currentColumn(), int(Driver));
    view.allSelected = false;
    view.caret = 0;
    view.partSelected = true;
    EXPECT_EQ(key(Qt::Key_Left), Key::ToEditor);
    view.partSelected = false;
    EXPECT_EQ(key(Qt::Key_Home), Key::Done);
    EXPECT_EQ(editing->currentColumn(), int(ID));
}

TEST_F(GridEditingTest, AFailedStoreKeepsTheTextTheCellAndTheRow) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    addOrder(QStringLiteral("Сидоров"), 200, 2000);
    open();
    editing->goToColumn(Weight);
    type(QStringLiteral("+"));
    const auto unchanged = [&] {
        EXPECT_EQ(table->currentIndex(), 0);
        EXPECT_EQ(editing->currentColumn(), int(Weight));
        EXPECT_TRUE(editing->editorMode());
        EXPECT_TRUE(editing->editorModified());
        EXPECT_EQ(view.text, QStringLiteral("+"));
        EXPECT_EQ(table->State(), dsEdit);
    };
    EXPECT_THROW(key(Qt::Key_Down), ConversionError);
    unchanged();
    EXPECT_THROW(key(Qt::Key_Tab), ConversionError);
    EXPECT_THROW(key(Qt::Key_Return), ConversionError);
    EXPECT_THROW(editing->click(1, Driver, true), ConversionError);
    EXPECT_THROW(editing->moveToRow(1), ConversionError);
    EXPECT_THROW(editing->leave(), ConversionError);
    unchanged();

    backspace();
    type(QStringLiteral("42"));
    key(Qt::Key_Down);
    EXPECT_EQ(table->currentIndex(), 1);
    EXPECT_EQ(weights(), QStringList({"42", "200"}));

    // The last column of the last row: the failed store appends nothing.
    editing->goToColumn(Sum);
    type(QStringLiteral("-"));
    EXPECT_THROW(key(Qt::Key_Tab), ConversionError);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(editing->currentColumn(), int(Sum));
}

TEST_F(GridEditingTest, EscapeRestoresTheCellFirstThenCancelsTheRow) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    open();
    key(Qt::Key_Escape); // nothing to undo
    EXPECT_EQ(table->State(), dsBrowse);
    editing->goToColumn(Weight);
    type(QStringLiteral("57"));
    key(Qt::Key_Escape);
    EXPECT_FALSE(editing->editorMode());
    EXPECT_EQ(view.text, QStringLiteral("100")); // restored before closing
    EXPECT_EQ(table->State(), dsEdit);
    key(Qt::Key_Escape);
    EXPECT_EQ(table->State(), dsBrowse);

    // A stored change, the editor open again unchanged: one Esc closes it and cancels the row.
    type(QStringLiteral("3"));
    key(Qt::Key_Return);
    key(Qt::Key_F2);
    EXPECT_EQ(view.text, QStringLiteral("3"));
    key(Qt::Key_Escape);
    EXPECT_FALSE(editing->editorMode());
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(table->FieldByName(QStringLiteral("Вес груза")).AsInteger(), 100);

    key(Qt::Key_Insert);
    ASSERT_EQ(table->rowCount(), 2);
    key(Qt::Key_Escape);
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_EQ(weights(), QStringList({"100"}));
}

TEST_F(GridEditingTest, AnUntouchedNewRowIsDroppedAndATouchedOneSaved) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    addOrder(QStringLiteral("Сидоров"), 200, 2000);
    open();
    key(Qt::Key_Down);
    EXPECT_TRUE(editing->downKey()); // past the last row: a new one
    EXPECT_EQ(table->State(), dsInsert);
    EXPECT_TRUE(editing->untouchedNewRow());
    EXPECT_FALSE(editing->downKey()); // untouched, at the end: nothing
    EXPECT_EQ(table->rowCount(), 3);
    key(Qt::Key_Up);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->currentIndex(), 1);

    // Inserted in the middle: Down drops it and stays on the row it pushed down.
    editing->moveToRow(0);
    key(Qt::Key_Insert, Qt::KeypadModifier);
    EXPECT_EQ(table->State(), dsInsert);
    key(Qt::Key_Down);
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(shown(table->currentIndex(), Client), QStringLiteral("Иванов"));

    // Text typed and not yet stored makes the row touched: leaving it saves it.
    key(Qt::Key_End, Qt::ControlModifier);
    key(Qt::Key_Down);
    editing->goToColumn(Client);
    type(QStringLiteral("Ив"));
    EXPECT_FALSE(editing->untouchedNewRow());
    key(Qt::Key_Up);
    EXPECT_EQ(table->State(), dsBrowse);
    // So does a value set from code.
    editing->closeEditor();
    key(Qt::Key_End, Qt::ControlModifier);
    key(Qt::Key_Down);
    table->FieldByName(QStringLiteral("Клиент")).setAsString(QStringLiteral("Код"));
    key(Qt::Key_Up);
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Клиент\" FROM \"Журнал\" ORDER BY ID")),
              QStringList({"Иванов", "Сидоров", "Ив", "Код"}));
}

TEST_F(GridEditingTest, TabWalksTheCellsAcrossRowsAndStopsAtBothEnds) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    open();
    key(Qt::Key_Backtab); // the very first cell
    EXPECT_EQ(editing->currentColumn(), 0);
    EXPECT_EQ(table->currentIndex(), 0);
    key(Qt::Key_End);
    key(Qt::Key_Tab);
    EXPECT_EQ(table->State(), dsInsert);
    EXPECT_EQ(table->currentIndex(), 1);
    EXPECT_EQ(editing->currentColumn(), 0);
    key(Qt::Key_End);
    key(Qt::Key_Tab); // an untouched last row goes no further
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(editing->currentColumn(), int(Sum));
    key(Qt::Key_Home);
    key(Qt::Key_Tab, Qt::ShiftModifier); // back over the row's start drops it
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_EQ(editing->currentColumn(), int(Sum));
}

TEST_F(GridEditingTest, LeavingDropsAnUntouchedNewRowAndStoresTypedText) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    open();
    key(Qt::Key_Insert);
    EXPECT_TRUE(editing->leave());
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(table->rowCount(), 1);

    key(Qt::Key_Insert);
    editing->goToColumn(Client);
    type(QStringLiteral("Петрова"));
    EXPECT_FALSE(editing->leave());
    EXPECT_EQ(table->State(), dsInsert); // stored into its field, not saved
    EXPECT_EQ(table->FieldByName(QStringLiteral("Клиент")).AsString(), QStringLiteral("Петрова"));
    EXPECT_FALSE(editing->editorModified());
    EXPECT_EQ(inFile(QStringLiteral("SELECT COUNT(*) FROM \"Журнал\"")), QStringList({"1"}));

    // A closed cursor: nothing to leave, no key taken, the editor gone.
    table->Cancel();
    editing->openEditor();
    table->Close();
    EXPECT_FALSE(editing->editorMode());
    EXPECT_FALSE(view.editorShown);
    EXPECT_FALSE(editing->leave());
    EXPECT_EQ(editing->key(Qt::Key_Down, Qt::NoModifier), Key::Ignored);
    EXPECT_EQ(type(QStringLiteral("5")), Key::Ignored);
}

TEST_F(GridEditingTest, ClicksPickTheCellStoringFirstAndASecondClickOpensTheEditor) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    addOrder(QStringLiteral("Сидоров"), 200, 2000);
    open();
    editing->click(0, ID, false); // the current cell, the grid not yet focused
    EXPECT_FALSE(editing->editorMode());
    editing->click(0, ID, true);
    EXPECT_TRUE(editing->editorMode());

    editing->goToColumn(Client);
    type(QStringLiteral("Ж"));
    editing->click(1, Driver, true); // stored, the row saved
    EXPECT_EQ(table->currentIndex(), 1);
    EXPECT_EQ(editing->currentColumn(), int(Driver));
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Клиент\" FROM \"Журнал\" ORDER BY ID")),
              QStringList({"Ж", "Сидоров"}));
    EXPECT_EQ(view.text, QStringLiteral("Петров"));

    editing->closeEditor();
    editing->click(1, -1, true); // the current row's indicator
    EXPECT_FALSE(editing->editorMode());
    editing->click(0, -1, true); // another row's indicator: the column stays
    EXPECT_EQ(table->currentIndex(), 0);
    EXPECT_EQ(editing->currentColumn(), int(Driver));
}

TEST_F(GridEditingTest, TheEditorShowsTheFieldsOwnChangesAndKeepsTypingOverOthers) {
    addOrder(QStringLiteral("Иванов"), 100, 1000);
    addOrder(QStringLiteral("Сидоров"), 200, 2000);
    open();
    editing->goToColumn(Client);
    type(QStringLiteral("Ж"));
    table->FieldByName(QStringLiteral("Водитель")).setAsString(QStringLiteral("Орлов"));
    EXPECT_EQ(view.text, QStringLiteral("Ж"));
    EXPECT_TRUE(editing->editorModified());
    table->FieldByName(QStringLiteral("Клиент")).setAsString(QStringLiteral("Новиков"));
    EXPECT_EQ(view.text, QStringLiteral("Новиков"));
    EXPECT_FALSE(editing->editorModified());

    // Columns in another order: the current cell's field is the one its column shows.
    editing->closeEditor();
    table->Cancel();
    std::swap(view.fields[0], view.fields[Weight]);
    editing->goToColumn(0);
    EXPECT_EQ(editing->currentField()->FieldName(), QStringLiteral("Вес груза"));
    type(QStringLiteral("9"));
    key(Qt::Key_Down);
    EXPECT_EQ(weights(), QStringList({"9", "200"}));
}

TEST_F(GridEditingTest, TypingIntoAnEmptyCursorStartsARowWithoutLosingTheKey) {
    open();
    editing->goToColumn(Client);
    EXPECT_EQ(type(QStringLiteral("И")), Key::ToEditor);
    EXPECT_EQ(table->State(), dsInsert);
    EXPECT_EQ(table->rowCount(), 1);
    // The row turning into the pending row did not put the field's text back into the editor.
    EXPECT_EQ(view.refills, 1);
    type(QStringLiteral("в"));
    EXPECT_EQ(view.text, QStringLiteral("Ив"));
    key(Qt::Key_Up);
    EXPECT_EQ(table->State(), dsBrowse);
    EXPECT_EQ(inFile(QStringLiteral("SELECT \"Клиент\" FROM \"Журнал\"")), QStringList({"Ив"}));
}

TEST_F(GridEditingTest, PagesAndCtrlMovesGoByTheRowsInView) {
    addOrders(50);
    open();
    key(Qt::Key_PageDown);
    EXPECT_EQ(table->currentIndex(), 10);
    key(Qt::Key_Down, Qt::ControlModifier); // the view has not scrolled: its last row
    EXPECT_EQ(table->currentIndex(), 9);
    view.top = 45;
    key(Qt::Key_PageDown, Qt::ControlModifier); // the last row in view is the cursor's last
    EXPECT_EQ(table->currentIndex(), 49);
    key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(table->currentIndex(), 45);
    key(Qt::Key_PageUp);
    EXPECT_EQ(table->currentIndex(), 35);
    editing->moveBy(-3);
    EXPECT_EQ(table->currentIndex(), 32);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(table->currentIndex(), 0);
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(table->currentIndex(), 49);
    EXPECT_EQ(table->State(), dsBrowse);

    // Ctrl+Delete asks first; a refusal keeps the row.
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(questions(), QStringList({"Confirm | Delete record?"}));
    EXPECT_EQ(table->rowCount(), 50);
    recorded.answer(MessageSeam::Answer::Ok);
    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(table->rowCount(), 49);
    EXPECT_EQ(inFile(QStringLiteral("SELECT MAX(ID) FROM \"Журнал\"")), QStringList({"49"}));
}

} // namespace kavelon::test
