// The data-bound edit as the dispatcher uses it in the entry dialogs.
#include "ControlFixture.h"

#include "common/TypeText.h"
#include "controls/TDBEdit.h"

#include <QClipboard>
#include <QGuiApplication>

namespace kavelon::test {
namespace {

class DBEditTest : public ControlTest {
protected:
    TableCursor* cursor = nullptr;
    TDBEdit* edit = nullptr;
    TDBEdit* other = nullptr;

    // Settlements ("Наименование" text(30), "Растояние до НП" integer) with an edit on each column.
    void bind(const QString& table, const QString& field, const QString& otherField) {
        cursor = &open(table);
        TDataSource* ds = source(*cursor);
        edit = new TDBEdit(window.get());
        edit->setObjectName(QStringLiteral("DBEdit1"));
        edit->setGeometry(10, 10, 200, 24);
        edit->setDataSource(ds);
        edit->setDataField(field);
        other = new TDBEdit(window.get());
        other->setObjectName(QStringLiteral("DBEdit2"));
        other->setGeometry(10, 50, 200, 24);
        other->setDataSource(ds);
        other->setDataField(otherField);
        showWindow();
    }

    void bindSettlements() {
        bind(schema::settlementsTable, QStringLiteral("Растояние до НП"),
             QStringLiteral("Наименование"));
    }

    void addSettlement(const QString& name, int distance) {
        sql(QStringLiteral("INSERT INTO \"Населённые пункты\" VALUES ('%1', %2)")
                .arg(name)
                .arg(distance));
    }

    QString distanceMessage(const QString& typed) const {
        return QStringLiteral("'%1' is not a valid integer value for field 'Растояние до НП'")
            .arg(typed);
    }

    // Clears the focused edit by keys, as a user does.
    void clearByKeys(QWidget* w) {
        QTest::keyClick(w, Qt::Key_End);
        for (int i = 0; i < 40; ++i)
            QTest::keyClick(w, Qt::Key_Backspace);
    }
};

TEST_F(DBEditTest, ShowsTheCurrentRowAndFollowsTheCursor) {
    addSettlement(QStringLiteral("Тверь"), 170);
    addSettlement(QStringLiteral("Клин"), -5);
    bindSettlements();

    EXPECT_EQ(edit->text(), QStringLiteral("170"));
    EXPECT_EQ(other->text(), QStringLiteral("Тверь"));
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_TRUE(edit->alignment() & Qt::AlignRight) << "integers stand right while not edited";
    EXPECT_TRUE(other->alignment() & Qt::AlignLeft);

    focus(edit);
    EXPECT_TRUE(edit->alignment() & Qt::AlignLeft) << "and left while the user edits";
    focus(other);
    EXPECT_TRUE(edit->alignment() & Qt::AlignRight);

    cursor->Next();
    EXPECT_EQ(edit->text(), QStringLiteral("-5"));
    EXPECT_EQ(other->text(), QStringLiteral("Клин"));

    // A disabled edit is greyed and cannot be focused, but still follows its cursor.
    edit->setEnabled(false);
    cursor->First();
    EXPECT_EQ(edit->text(), QStringLiteral("170"));
    edit->setFocus();
    EXPECT_FALSE(edit->hasFocus());
}

TEST_F(DBEditTest, TypingAsksToEditAndLeavingStores) {
    addSettlement(QStringLiteral("Тверь"), 170);
    bindSettlements();
    focus(edit);
    QTest::keyClick(edit, Qt::Key_End);

    // A refused character is dropped and does not start editing.
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_EQ(edit->text(), QStringLiteral("170"));
    EXPECT_EQ(cursor->State(), dsBrowse);

    QTest::keyClick(edit, Qt::Key_5);
    EXPECT_EQ(cursor->State(), dsEdit);
    EXPECT_EQ(edit->text(), QStringLiteral("1705"));
    EXPECT_FALSE(edit->isReadOnly());
    EXPECT_EQ(cursor->FieldByName(QStringLiteral("Растояние до НП")).AsInteger(), 170)
        << "nothing is stored while the user types";

    focus(other);
    EXPECT_EQ(cursor->FieldByName(QStringLiteral("Растояние до НП")).AsInteger(), 1705);
    EXPECT_TRUE(errors().isEmpty());

    // Backspace alone also asks to edit; leaving the edit emptied stores an empty value.
    cursor->Post();
    focus(edit);
    clearByKeys(edit);
    EXPECT_EQ(cursor->State(), dsEdit);
    focus(other);
    EXPECT_TRUE(cursor->FieldByName(QStringLiteral("Растояние до НП")).IsNull());
    cursor->Post();

    TableCursor& fresh = open(schema::settlementsTable, QStringLiteral("ADOTable2"));
    EXPECT_TRUE(fresh.FieldByName(QStringLiteral("Растояние до НП")).IsNull());
}

TEST_F(DBEditTest, TypingIntoAnEmptyCursorStartsANewRow) {
    bindSettlements();
    focus(other);
    typeText(other, QStringLiteral("Тула"));
    EXPECT_EQ(cursor->State(), dsInsert);
    EXPECT_EQ(other->text(), QStringLiteral("Тула"));
    focus(edit);
    QTest::keyClicks(edit, "180");
    cursor->Post(); // writes the edit's pending text first
    EXPECT_EQ(cursor->State(), dsBrowse);

    TableCursor& fresh = open(schema::settlementsTable, QStringLiteral("ADOTable2"));
    ASSERT_EQ(fresh.RecordCount(), 1);
    EXPECT_EQ(fresh.FieldByName(QStringLiteral("Наименование")).AsString(), QStringLiteral("Тула"));
    EXPECT_EQ(fresh.FieldByName(QStringLiteral("Растояние до НП")).AsInteger(), 180);
}

TEST_F(DBEditTest, BadTextKeepsTheFocusAndSwallowsTheButtonClick) {
    addSettlement(QStringLiteral("Тверь"), 170);
    bindSettlements();

    for (const QString& typed :
         {QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("2147483648")}) {
        recorded.clear();
        focus(edit);
        clearByKeys(edit);
        QTest::keyClicks(edit, typed.toLatin1().constData());
        EXPECT_EQ(edit->text(), typed) << "signs are accepted while typing";

        clickButton();
        EXPECT_EQ(errors(), QStringList{distanceMessage(typed)})
            << "exactly one error box for " << typed.toStdString();
        EXPECT_EQ(buttonClicks, 0) << "the click that took the focus is not carried out";
        EXPECT_TRUE(edit->hasFocus());
        EXPECT_EQ(edit->selectedText(), typed);
        EXPECT_EQ(cursor->FieldByName(QStringLiteral("Растояние до НП")).AsInteger(), 170);

        // Leaving by Tab fails the same way.
        recorded.clear();
        QTest::keyClick(edit, Qt::Key_Tab);
        EXPECT_EQ(errors(), QStringList{distanceMessage(typed)});
        EXPECT_TRUE(edit->hasFocus());
    }

    // Once corrected, the next click goes through.
    clearByKeys(edit);
    QTest::keyClicks(edit, "2147483647");
    recorded.clear();
    clickButton();
    EXPECT_TRUE(errors().isEmpty());
    EXPECT_EQ(buttonClicks, 1);
    EXPECT_EQ(cursor->FieldByName(QStringLiteral("Растояние до НП")).AsInteger(), 2147483647);
}

TEST_F(DBEditTest, PostFailsWithTheMessageOfTextThatDoesNotConvert) {
    addSettlement(QStringLiteral("Тверь"), 170);
    bindSettlements();
    focus(edit);
    clearByKeys(edit);
    QTest::keyClick(edit, Qt::Key_Minus);
    try {
        cursor->Post();
        FAIL() << "Post went through";
    } catch (const ConversionError& e) {
        EXPECT_EQ(e.message(), distanceMessage(QStringLiteral("-")));
    }
    EXPECT_EQ(cursor->State(), dsEdit);
    EXPECT_EQ(edit->text(), QStringLiteral("-")) << "the typed text stays for correcting";
}

TEST_F(DBEditTest, PasteAsksToEditAndIsNotFiltered) {
    addSettlement(QStringLiteral("Тверь"), 170);
    bindSettlements();
    QGuiApplication::clipboard()->setText(QStringLiteral("12 км"));
    focus(edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(cursor->State(), dsEdit);
    EXPECT_EQ(edit->text(), QStringLiteral("12 км"));
    focus(other);
    EXPECT_EQ(errors(), QStringList{distanceMessage(QStringLiteral("12 км"))});
    EXPECT_TRUE(edit->hasFocus());

    // Shift+Insert pastes as well; Ctrl+X cuts.
    edit->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral(" 12"));
    QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    focus(other);
    EXPECT_EQ(cursor->FieldByName(QStringLiteral("Растояние до НП")).AsInteger(), 12);
    EXPECT_EQ(edit->text(), QStringLiteral("12")) << "the stored value is shown anew";
    cursor->Post();
    focus(edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(cursor->State(), dsEdit);
    EXPECT_EQ(edit->text(), QString());
}

TEST_F(DBEditTest, WithoutAutoEditKeysChangeNothing) {
    addSettlement(QStringLiteral("Тверь"), 170);
    bindSettlements();
    edit->DataSource()->setAutoEdit(false);
    focus(edit);
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, Qt::Key_5);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("170"));
    EXPECT_EQ(cursor->State(), dsBrowse);

    // Once the window's code puts the row into editing, typing works.
    cursor->Edit();
    QTest::keyClick(edit, Qt::Key_5);
    EXPECT_EQ(edit->text(), QStringLiteral("1705"));
    // A Cancel drops the typed text, which was never stored.
    cursor->Cancel();
    EXPECT_EQ(edit->text(), QStringLiteral("170"));
    EXPECT_TRUE(edit->isReadOnly());
}

TEST_F(DBEditTest, EscPutsTheStoredTextBack) {
    addSettlement(QStringLiteral("Тверь"), 170);
    bindSettlements();
    focus(other);
    QTest::keyClick(other, Qt::Key_End);
    typeText(other, QStringLiteral("ская"));
    EXPECT_EQ(other->text(), QStringLiteral("Тверьская"));
    QTest::keyClick(other, Qt::Key_Escape);
    EXPECT_EQ(other->text(), QStringLiteral("Тверь"));
    EXPECT_EQ(other->selectedText(), QStringLiteral("Тверь"));
    focus(edit);
    EXPECT_FALSE(cursor->Modified()) << "nothing typed since the refresh, nothing stored";
}

TEST_F(DBEditTest, TextFieldTakesNoMoreThanItsWidth) {
    bind(schema::clientsTable, QStringLiteral("Наименование"), QStringLiteral("Адрес"));
    focus(edit);
    typeText(edit, QString(40, QChar(u'ж')));
    EXPECT_EQ(edit->text(), QString(35, QChar(u'ж')));
}

TEST_F(DBEditTest, BooleanFieldTakesPrefixesOfFalseAndTrue) {
    sql(QStringLiteral("INSERT INTO \"Водители\" (\"ФИО\", \"Межд ВУ\") VALUES ('Петров', 0)"));
    bind(schema::driversTable, QStringLiteral("Межд ВУ"), QStringLiteral("ФИО"));
    EXPECT_EQ(edit->text(), QStringLiteral("False"));
    Field& international = cursor->FieldByName(QStringLiteral("Межд ВУ"));

    focus(edit);
    clearByKeys(edit);
    QTest::keyClick(edit, Qt::Key_T);
    focus(other);
    EXPECT_TRUE(international.AsBoolean());
    EXPECT_EQ(edit->text(), QStringLiteral("True"));

    focus(edit);
    clearByKeys(edit);
    QTest::keyClick(edit, Qt::Key_F);
    focus(other);
    EXPECT_FALSE(international.AsBoolean());

    focus(edit);
    clearByKeys(edit);
    QTest::keyClick(edit, Qt::Key_X);
    focus(other);
    EXPECT_EQ(errors(),
              QStringList{QStringLiteral("'x' is not a valid boolean value for field 'Межд ВУ'")});
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_FALSE(international.AsBoolean());
}

TEST_F(DBEditTest, ReadOnlyFieldDropsEveryKey) {
    sql(QStringLiteral("INSERT INTO \"Водители\" (\"ФИО\") VALUES ('Петров')"));
    bind(schema::driversTable, QStringLiteral("Код"), QStringLiteral("ФИО"));
    const QString shown = edit->text();
    focus(edit);
    QTest::keyClick(edit, Qt::Key_7);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), shown);
    EXPECT_EQ(cursor->State(), dsBrowse);
    EXPECT_TRUE(errors().isEmpty());
}

} // namespace
} // namespace kavelon::test
