// The lookup box as the order dialog uses it: a journal row's settlement, vehicle or customer
// chosen from the rows of a reference cursor.
#include "ControlFixture.h"

#include "common/TypeText.h"
#include "common/WaitFor.h"
#include "controls/LookupList.h"
#include "controls/TDBEdit.h"
#include "controls/TDBLookupComboBox.h"
#include "data/FieldText.h"

#include <QScreen>

namespace kavelon::test {
namespace {

class LookupTest : public ControlTest {
protected:
    TableCursor* journal = nullptr;
    TableCursor* list = nullptr;
    TDBLookupComboBox* box = nullptr;
    TDBEdit* listEdit = nullptr; // a control bound to the list cursor, as the tariff box is
    qint64 now = 0;

    void bind(const QString& listTable, const QString& boundField, const QString& keyField,
              const QString& listFields, const QString& listEditField) {
        journal = &open(schema::journalTable);
        list = &open(listTable, QStringLiteral("ADOTable2"));
        TDataSource* listSource = source(*list);
        box = new TDBLookupComboBox(window.get());
        box->setObjectName(QStringLiteral("DBLookupComboBox1"));
        box->setGeometry(10, 10, 320, 24);
        box->setClock([this] { return now; });
        box->setDataSource(source(*journal));
        box->setDataField(boundField);
        box->setListSource(listSource);
        box->setKeyField(keyField);
        box->setListField(listFields);
        listEdit = new TDBEdit(window.get());
        listEdit->setObjectName(QStringLiteral("DBEdit1"));
        listEdit->setGeometry(10, 50, 200, 24);
        listEdit->setDataSource(listSource);
        listEdit->setDataField(listEditField);
        showWindow();
    }

    // Settlements Клин 80, Тверь 170, Тула 180 and journal rows naming the given settlements.
    void bindSettlements(const QStringList& orders) {
        for (const auto& [name, distance] :
             {std::pair{"Тверь", 170}, std::pair{"Клин", 80}, std::pair{"Тула", 180}})
            sql(QStringLiteral("INSERT INTO \"Населённые пункты\" VALUES ('%1', %2)")
                    .arg(QString::fromUtf8(name))
                    .arg(distance));
        for (const QString& order : orders)
            sql(order.isNull()
                    ? QStringLiteral("INSERT INTO \"Журнал\" (\"Клиент\") VALUES ('x')")
                    : QStringLiteral("INSERT INTO \"Журнал\" (\"Населённый пункт\") VALUES ('%1')")
                          .arg(order));
        bind(schema::settlementsTable, QStringLiteral("Населённый пункт"),
             QStringLiteral("Наименование"), QStringLiteral("Наименование;Растояние до НП"),
             QStringLiteral("Растояние до НП"));
    }

    QString bound(const QString& field) const { return journal->FieldByName(field).AsString(); }
    QString settlement() const { return bound(QStringLiteral("Населённый пункт")); }
    QString listRow(const QString& field) const {
        return fieldtext::display(list->FieldByName(field).value(),
                                  list->FieldByName(field).kind());
    }

    // Which of the rows shown in the open list are drawn highlighted, top to bottom.
    static std::vector<bool> highlightedRows(LookupList* popup) {
        const QImage shown = popup->grab().toImage();
        const QColor highlight = popup->palette().color(QPalette::Highlight);
        const int right = popup->columnEdges().back() - 3;
        const int h = popup->rowHeight();
        std::vector<bool> rows;
        for (int row = 0; row < popup->visibleRows(); ++row)
            rows.push_back(shown.pixelColor(right, 1 + row * h + h / 2) == highlight);
        return rows;
    }

    LookupList* openByKeys() {
        focus(box);
        QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
        EXPECT_TRUE(box->listVisible());
        return box->list();
    }
};

TEST_F(LookupTest, ShowsTheListRowOfTheBoundValue) {
    bindSettlements({QStringLiteral("Тула"), QStringLiteral("Нигде"), QString()});
    EXPECT_EQ(box->Text(), QStringLiteral("Тула"));
    EXPECT_EQ(listEdit->text(), QStringLiteral("180")) << "the list cursor stands on the row";

    journal->Next();
    EXPECT_EQ(box->Text(), QString()) << "a value no list row holds shows nothing";
    EXPECT_EQ(listEdit->text(), QStringLiteral("180")) << "and the list cursor stays";
    journal->Next();
    EXPECT_EQ(box->Text(), QString());
    EXPECT_TRUE(errors().isEmpty());

    // A value stored by other means is looked up as well.
    journal->Edit();
    journal->FieldByName(QStringLiteral("Населённый пункт")).setAsString(QStringLiteral("Клин"));
    EXPECT_EQ(box->Text(), QStringLiteral("Клин"));
    EXPECT_EQ(listEdit->text(), QStringLiteral("80"));
}

TEST_F(LookupTest, OpenListMovesTheListCursorAndChoosingStoresAtOnce) {
    bindSettlements({QStringLiteral("Тверь")});
    list->Last();
    LookupList* popup = openByKeys();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(listRow(QStringLiteral("Наименование")), QStringLiteral("Тверь"));
    EXPECT_EQ(popup->width(), box->width());
    EXPECT_EQ(popup->visibleRows(), 3) << "fewer rows than 7: as many as the list holds";
    EXPECT_EQ(popup->geometry().top(), box->mapToGlobal(QPoint(0, box->height())).y());
    // "Наименование" (display width 30) and then the distance, which takes the rest.
    const int zero = popup->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const std::vector<int> edges = popup->columnEdges();
    ASSERT_EQ(edges.size(), 3u);
    EXPECT_EQ(edges[1] - edges[0], 30 * zero + 4);
    EXPECT_EQ(edges[2], popup->width() - 1);

    QTest::keyClick(popup, Qt::Key_Down);
    EXPECT_EQ(listEdit->text(), QStringLiteral("80")) << "controls on the list cursor follow";
    EXPECT_EQ(settlement(), QStringLiteral("Тверь")) << "moving the highlight stores nothing";
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_FALSE(box->listVisible());
    EXPECT_EQ(journal->State(), dsEdit);
    EXPECT_EQ(settlement(), QStringLiteral("Клин"));
    EXPECT_EQ(box->Text(), QStringLiteral("Клин"));

    // Alt+Up chooses too; End and Home reach the ends.
    popup = openByKeys();
    QTest::keyClick(popup, Qt::Key_End);
    EXPECT_EQ(listEdit->text(), QStringLiteral("180"));
    QTest::keyClick(popup, Qt::Key_Home);
    EXPECT_EQ(listEdit->text(), QStringLiteral("170"));
    QTest::keyClick(popup, Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(settlement(), QStringLiteral("Тверь"));

    // Pressing on a row, dragging to another and releasing there chooses that row.
    popup = openByKeys();
    const int h = popup->rowHeight();
    QTest::mousePress(popup, Qt::LeftButton, {}, QPoint(20, h / 2 + 1));
    EXPECT_EQ(listEdit->text(), QStringLiteral("170"));
    QTest::mouseMove(popup, QPoint(20, 2 * h + h / 2 + 1));
    QTest::mouseRelease(popup, Qt::LeftButton, {}, QPoint(20, 2 * h + h / 2 + 1));
    EXPECT_FALSE(box->listVisible());
    EXPECT_EQ(settlement(), QStringLiteral("Тула"));
    journal->Post();
    EXPECT_EQ(box->Text(), QStringLiteral("Тула"));
}

TEST_F(LookupTest, LongListShowsSevenRowsAndPagesByOneLess) {
    for (int i = 0; i < 10; ++i)
        sql(QStringLiteral("INSERT INTO \"Населённые пункты\" VALUES ('Пункт %1', %1)").arg(i));
    sql(QStringLiteral("INSERT INTO \"Журнал\" (\"Клиент\") VALUES ('x')"));
    bind(schema::settlementsTable, QStringLiteral("Населённый пункт"),
         QStringLiteral("Наименование"), QStringLiteral("Наименование;Растояние до НП"),
         QStringLiteral("Растояние до НП"));
    LookupList* popup = openByKeys();
    EXPECT_EQ(popup->visibleRows(), 7);
    EXPECT_EQ(popup->height(), 7 * popup->rowHeight() + 2);
    QTest::keyClick(popup, Qt::Key_PageDown);
    EXPECT_EQ(list->currentIndex(), 6);
    QTest::keyClick(popup, Qt::Key_PageDown);
    EXPECT_EQ(list->currentIndex(), 9);
    EXPECT_EQ(popup->topRow(), 3) << "the highlighted row is scrolled into view";
    QTest::keyClick(popup, Qt::Key_PageUp);
    EXPECT_EQ(list->currentIndex(), 3);

    // Dragging below the list highlights on and scrolls while the button is held.
    QTest::keyClick(popup, Qt::Key_Home);
    const int h = popup->rowHeight();
    QTest::mousePress(popup, Qt::LeftButton, {}, QPoint(20, h / 2 + 1));
    QTest::mouseMove(popup, QPoint(20, popup->height() + 10));
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_TRUE(waitFor([&] { return list->currentIndex() >= 9; }));
    EXPECT_EQ(list->currentIndex(), 9);
    EXPECT_EQ(popup->topRow(), 3);
    QTest::mouseMove(popup, QPoint(20, h / 2 + 1));
    EXPECT_EQ(list->currentIndex(), 3) << "back inside: the row under the pointer";
    QTest::mouseRelease(popup, Qt::LeftButton, {}, QPoint(20, h / 2 + 1));
    EXPECT_EQ(bound(QStringLiteral("Населённый пункт")), QStringLiteral("Пункт 3"));
}

TEST_F(LookupTest, ListOpensAboveTheBoxWhenThereIsNoRoomBelow) {
    bindSettlements({QStringLiteral("Тверь")});
    const QRect screen = box->screen()->availableGeometry();
    window->move(screen.left() + 10, screen.bottom() - 60);
    QCoreApplication::processEvents();
    LookupList* popup = openByKeys();
    EXPECT_EQ(popup->geometry().bottom() + 1, box->mapToGlobal(QPoint(0, 0)).y());
    QTest::keyClick(popup, Qt::Key_Escape);
}

TEST_F(LookupTest, ClosingWithoutAChoicePutsTheListCursorBack) {
    bindSettlements({QStringLiteral("Тверь"), QString()});

    // Esc after moving the highlight: nothing stored, the list cursor back on the box's row.
    LookupList* popup = openByKeys();
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Down);
    EXPECT_EQ(listEdit->text(), QStringLiteral("180"));
    QTest::keyClick(popup, Qt::Key_Escape);
    EXPECT_FALSE(box->listVisible());
    EXPECT_EQ(settlement(), QStringLiteral("Тверь"));
    EXPECT_EQ(journal->State(), dsBrowse);
    EXPECT_EQ(listEdit->text(), QStringLiteral("170"));

    // A press outside the list.
    popup = openByKeys();
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(popup->width() + 20, -30));
    EXPECT_FALSE(box->listVisible());
    EXPECT_EQ(listEdit->text(), QStringLiteral("170"));

    // The focus going elsewhere.
    popup = openByKeys();
    QTest::keyClick(popup, Qt::Key_Up);
    QTest::keyClick(popup, Qt::Key_Tab);
    EXPECT_FALSE(box->hasFocus());
    EXPECT_FALSE(box->listVisible());
    EXPECT_EQ(listEdit->text(), QStringLiteral("170"));
    EXPECT_EQ(settlement(), QStringLiteral("Тверь"));

    // With an empty bound field the list opens on its first row, nothing highlighted, and an
    // Esc leaves the list cursor there.
    journal->Next();
    list->Last();
    popup = openByKeys();
    EXPECT_EQ(listEdit->text(), QStringLiteral("170"));
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Escape);
    EXPECT_EQ(listEdit->text(), QStringLiteral("170"));
    EXPECT_TRUE(journal->FieldByName(QStringLiteral("Населённый пункт")).IsNull());
    EXPECT_TRUE(errors().isEmpty());
}

TEST_F(LookupTest, ChosenRowStaysCurrentAmongRowsWithAnEqualKey) {
    // Two vehicles of one make with different tariffs, and a make too long for an order.
    sql(QStringLiteral(
        "INSERT INTO \"Транспортные ср-ва\" (\"Марка\", \"Цена перев 1кг/1км\") VALUES "
        "('Газель', '3'), ('Газель', '5'), ('Камаз', '7'), "
        "('Мерседес-Бенц Спринтер 515', '9')"));
    sql(QStringLiteral("INSERT INTO \"Журнал\" (\"Клиент\") VALUES ('x')"));
    bind(schema::vehiclesTable, QStringLiteral("Транспортное средство"), QStringLiteral("Марка"),
         QStringLiteral("Марка;Цена перев 1кг/1км"), QStringLiteral("Цена перев 1кг/1км"));
    const QString tariff = QStringLiteral("Цена перев 1кг/1км");

    LookupList* popup = openByKeys();
    EXPECT_EQ(listEdit->text(), QStringLiteral("3"));
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(bound(QStringLiteral("Транспортное средство")), QStringLiteral("Газель"));
    EXPECT_EQ(listEdit->text(), QStringLiteral("5")) << "the tariff of the vehicle chosen";

    // Reopening and closing keeps it; so does posting the order.
    popup = openByKeys();
    EXPECT_EQ(listRow(tariff), QStringLiteral("5"));
    // Both vehicles of the make are highlighted, the third is not.
    EXPECT_EQ(highlightedRows(popup), (std::vector<bool>{true, true, false, false}));
    QTest::keyClick(popup, Qt::Key_Escape);
    EXPECT_EQ(listRow(tariff), QStringLiteral("5"));
    journal->Post();
    EXPECT_EQ(listRow(tariff), QStringLiteral("5"));

    // Choosing the other one of the pair stores the same make and moves to that vehicle.
    popup = openByKeys();
    QTest::keyClick(popup, Qt::Key_Up);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(bound(QStringLiteral("Транспортное средство")), QStringLiteral("Газель"));
    EXPECT_EQ(listRow(tariff), QStringLiteral("3"));

    // A key longer than the bound field is cut to its width (20).
    popup = openByKeys();
    QTest::keyClick(popup, Qt::Key_End);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(bound(QStringLiteral("Транспортное средство")),
              QStringLiteral("Мерседес-Бенц Спринт"));
    EXPECT_EQ(listRow(tariff), QStringLiteral("9"));
}

TEST_F(LookupTest, ListOpenedOnNoRowChoosesOnlyOnceARowIsHighlighted) {
    bindSettlements({QStringLiteral("Нигде")});
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Return, Qt::NoModifier}, std::pair{Qt::Key_Down, Qt::AltModifier},
          std::pair{Qt::Key_Up, Qt::AltModifier}}) {
        LookupList* popup = openByKeys();
        QTest::keyClick(popup, key, modifiers);
        EXPECT_FALSE(box->listVisible());
        EXPECT_EQ(journal->State(), dsBrowse) << "the row is not even put into editing";
        EXPECT_EQ(settlement(), QStringLiteral("Нигде"));
        EXPECT_EQ(listEdit->text(), QStringLiteral("170")) << "the list cursor on the first row";
    }
    // A press and release on a row highlights and chooses it.
    LookupList* popup = openByKeys();
    const int h = popup->rowHeight();
    QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(20, 2 * h + h / 2 + 1));
    EXPECT_EQ(settlement(), QStringLiteral("Тула"));
    EXPECT_EQ(journal->State(), dsEdit);
}

TEST_F(LookupTest, KeyCutToTheBoundFieldsWidthFindsTheListRowsItCameFrom) {
    // "Транспортное средство" holds 20 characters of a make of up to 255.
    sql(QStringLiteral(
        "INSERT INTO \"Транспортные ср-ва\" (\"Марка\", \"Цена перев 1кг/1км\") VALUES "
        "('Мерседес-Бенц Спринтер 515', '9'), ('Мерседес', '4'), "
        "('Мерседес-Бенц Спринтер 311', '6'), ('Газель', '3')"));
    sql(QStringLiteral("INSERT INTO \"Журнал\" (\"Транспортное средство\") VALUES "
                       "('Мерседес-Бенц Спринт'), ('Мерседес'), ('Мерседес-Бенц')"));
    bind(schema::vehiclesTable, QStringLiteral("Транспортное средство"), QStringLiteral("Марка"),
         QStringLiteral("Марка;Цена перев 1кг/1км"), QStringLiteral("Цена перев 1кг/1км"));

    // The first of the makes that begin with the 20 characters, in make order.
    EXPECT_EQ(box->Text(), QStringLiteral("Мерседес-Бенц Спринтер 311"));
    EXPECT_EQ(listEdit->text(), QStringLiteral("6"));
    // Both are highlighted when the list opens; the shorter make is not.
    LookupList* popup = openByKeys();
    EXPECT_EQ(highlightedRows(popup), (std::vector<bool>{true, false, true, false}));
    QTest::keyClick(popup, Qt::Key_Escape);

    // A value shorter than the field's width was not cut: only an equal make is its row.
    journal->Next();
    EXPECT_EQ(box->Text(), QStringLiteral("Мерседес"));
    EXPECT_EQ(listEdit->text(), QStringLiteral("4"));
    journal->Next();
    EXPECT_EQ(box->Text(), QString());
    EXPECT_EQ(listEdit->text(), QStringLiteral("4"));

    // Up and Down of the closed box step from the row of a cut value.
    journal->First();
    focus(box);
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(bound(QStringLiteral("Транспортное средство")), QStringLiteral("Газель"));
}

TEST_F(LookupTest, UpAndDownOfTheClosedBoxChooseNeighbours) {
    bindSettlements({});
    EXPECT_EQ(journal->RecordCount(), 0);
    focus(box);
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(journal->State(), dsInsert) << "a choice in an empty cursor starts a row";
    EXPECT_EQ(settlement(), QStringLiteral("Тверь"))
        << "the first row when the value is not in the list";
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(settlement(), QStringLiteral("Клин"));
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(settlement(), QStringLiteral("Тула")) << "stops at the last row";
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(settlement(), QStringLiteral("Клин"));
    EXPECT_EQ(box->Text(), QStringLiteral("Клин"));
    EXPECT_EQ(listEdit->text(), QStringLiteral("80"));
}

TEST_F(LookupTest, TypingSearchesByTheFirstListColumnWithinTwoSeconds) {
    for (const char* name : {"Карпов", "Алексеев", "казаков", "Иванов", "Кузнецов"})
        sql(QStringLiteral("INSERT INTO \"Клиенты\" (\"Наименование\") VALUES ('%1')")
                .arg(QString::fromUtf8(name)));
    sql(QStringLiteral("INSERT INTO \"Журнал\" (\"Клиент\") VALUES ('Иванов')"));
    bind(schema::clientsTable, QStringLiteral("Клиент"), QStringLiteral("Наименование"),
         QStringLiteral("Наименование"), QStringLiteral("Наименование"));
    const QString client = QStringLiteral("Клиент");
    focus(box);

    now = 10000;
    typeText(box, QStringLiteral("к"));
    EXPECT_EQ(bound(client), QStringLiteral("казаков"))
        << "letter case ignored, first in key order";
    now += 1999;
    typeText(box, QStringLiteral("а"));
    EXPECT_EQ(bound(client), QStringLiteral("казаков"));
    now += 1500;
    typeText(box, QStringLiteral("р"));
    EXPECT_EQ(bound(client), QStringLiteral("Карпов"));
    EXPECT_EQ(box->searchText(), QStringLiteral("кар"));
    now += 100;
    typeText(box, QStringLiteral("ы"));
    EXPECT_EQ(bound(client), QStringLiteral("Карпов")) << "no row: nothing changes";
    EXPECT_EQ(box->searchText(), QStringLiteral("кар")) << "and the character is dropped";

    now += 2001;
    typeText(box, QStringLiteral("а"));
    EXPECT_EQ(bound(client), QStringLiteral("Алексеев")) << "after a pause a new search begins";
    EXPECT_EQ(box->Text(), QStringLiteral("Алексеев"));

    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->searchText(), QString());
    now += 10;
    typeText(box, QStringLiteral("И"));
    EXPECT_EQ(bound(client), QStringLiteral("Иванов"));

    // In the open list, typing moves the highlight only.
    LookupList* popup = openByKeys();
    now += 5000;
    typeText(popup, QStringLiteral("ку"));
    EXPECT_EQ(listEdit->text(), QStringLiteral("Кузнецов"));
    EXPECT_EQ(bound(client), QStringLiteral("Иванов"));
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(bound(client), QStringLiteral("Кузнецов"));
}

TEST_F(LookupTest, SearchTextHoldsAtMost32Characters) {
    const QString longName = QString(40, QChar(u'я'));
    sql(QStringLiteral("INSERT INTO \"Клиенты\" (\"Наименование\") VALUES ('%1')").arg(longName));
    bind(schema::clientsTable, QStringLiteral("Клиент"), QStringLiteral("Наименование"),
         QStringLiteral("Наименование"), QStringLiteral("Наименование"));
    focus(box);
    typeText(box, QString(36, QChar(u'я')));
    EXPECT_EQ(box->searchText(), QString(32, QChar(u'я')));
    EXPECT_EQ(bound(QStringLiteral("Клиент")), longName.left(35));
}

} // namespace
} // namespace kavelon::test
