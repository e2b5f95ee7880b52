// "Редактировать": the order dialog changes the order selected in the journal, shows its date,
// offers the reference rows of the moment and drops what its close box abandons.

#include "../OrderDesk.h"

#include "controls/TDBGrid.h"

#include <gtest/gtest.h>

using namespace kavelon;
using kavelon::test::OrderDesk;

namespace {

void twoOrders(test::TempDatabase& db) {
    db.exec(QStringLiteral(
        "INSERT INTO \"Журнал\" (\"Отправка\", \"Населённый пункт\", \"Клиент\", \"Водитель\", "
        "\"Транспортное средство\", \"Вес груза\", \"Сумма\") VALUES "
        "('2025-01-05 00:00:00', 'Тверь', 'ООО Ива', 'Иванов И.И.', 'ГАЗель', 100, 360), "
        "('2025-02-07 14:30:00', 'Клин', 'ЗАО Дуб', 'Петров П.П.', 'КамАЗ', 200, 560)"));
}

} // namespace

TEST(OrderChanges, EditChangesTheOrderSelectedInTheJournal) {
    OrderDesk desk(twoOrders);
    desk.inJournal([&] {
        // The second order selected in the grid.
        Form2->DBGrid1->setFocus();
        QTest::keyClick(Form2->DBGrid1, Qt::Key_Down);
        ASSERT_EQ(Form2->ADOTable1->RecNo(), 2);
        desk.changeOrder([&] {
            EXPECT_EQ(Form3->ADOTable1->State(), dsEdit);
            EXPECT_EQ(Form3->DBLookupComboBox1->Text(), QStringLiteral("Клин"));
            EXPECT_EQ(Form3->DBLookupComboBox4->Text(), QStringLiteral("КамАЗ"));
            EXPECT_EQ(Form3->DBEdit1->text(), QStringLiteral("200"));
            EXPECT_EQ(Form3->DBEdit2->text(), QStringLiteral("80"));
            EXPECT_EQ(Form3->DBEdit3->text(), QStringLiteral("7"));
            // Its own date, its time of day dropped.
            EXPECT_EQ(Form3->DateEdit1->text(), QStringLiteral("07.02.2025"));
            OrderDesk::typeWeight(QStringLiteral("250"));
            OrderDesk::pick(Form3->DBLookupComboBox1, 2); // Дмитров, 45 km
            OrderDesk::pressOk();
            EXPECT_FALSE(Form3->isVisible());
        });
        // Back to the first order: its own date, not the one last typed.
        Form2->DBGrid1->setFocus();
        QTest::keyClick(Form2->DBGrid1, Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(Form2->DBGrid1, Qt::Key_Up);
        desk.changeOrder([&] {
            EXPECT_EQ(Form3->DBLookupComboBox1->Text(), QStringLiteral("Тверь"));
            EXPECT_EQ(Form3->DateEdit1->text(), QStringLiteral("05.01.2025"));
            OrderDesk::pressCancel();
        });
    });
    EXPECT_TRUE(desk.errorTexts().isEmpty()) << desk.errorTexts().join(u'\n').toStdString();
    ASSERT_EQ(desk.orders().size(), 2);
    EXPECT_EQ(desk.orders()[0], (QStringList{"2025-01-05 00:00:00", "Тверь", "ООО Ива",
                                             "Иванов И.И.", "ГАЗель", "100", "360"}));
    EXPECT_EQ(desk.orders()[1], (QStringList{"2025-02-07 00:00:00", "Дмитров", "ЗАО Дуб",
                                             "Петров П.П.", "КамАЗ", "250", "315"}));
}

TEST(OrderChanges, ANewOrderOffersTheDateLastLeftOnANewOrder) {
    OrderDesk desk(twoOrders);
    const QString blank = QStringLiteral("  .  .    ");
    desk.inJournal([&] {
        // A stored date shown for a change does not reach the next new order.
        desk.changeOrder([&] {
            EXPECT_EQ(Form3->DateEdit1->text(), QStringLiteral("05.01.2025"));
            OrderDesk::pressCancel();
        });
        desk.newOrder([&] {
            EXPECT_EQ(Form3->DateEdit1->text(), blank);
            OrderDesk::fillOrder(QStringLiteral("10032025"), QStringLiteral("500"));
            OrderDesk::pressOk();
        });
        // Nor does a date typed for a change.
        desk.changeOrder([&] {
            EXPECT_EQ(Form3->DateEdit1->text(), QStringLiteral("05.01.2025"));
            OrderDesk::typeDate(QStringLiteral("20042025"));
            OrderDesk::pressOk();
        });
        desk.newOrder([&] {
            EXPECT_EQ(Form3->DateEdit1->text(), QStringLiteral("10.03.2025"));
            // A half-typed date is left as it stood, whichever way the dialog closes.
            OrderDesk::typeDate(QStringLiteral("11"));
            OrderDesk::pressCancel();
        });
        desk.changeOrder([&] { OrderDesk::pressCancel(); });
        desk.newOrder([&] {
            EXPECT_EQ(Form3->DateEdit1->text(), QStringLiteral("11.  .    "));
            OrderDesk::typeDate(QStringLiteral("12032025"));
        });
        desk.newOrder([&] { EXPECT_EQ(Form3->DateEdit1->text(), QStringLiteral("12.03.2025")); });
    });
    EXPECT_TRUE(desk.errorTexts().isEmpty()) << desk.errorTexts().join(u'\n').toStdString();
    ASSERT_EQ(desk.orders().size(), 3);
    EXPECT_EQ(desk.orders()[0][0], QStringLiteral("2025-04-20 00:00:00"));
    EXPECT_EQ(desk.orders()[2][0], QStringLiteral("2025-03-10 00:00:00"));
}

TEST(OrderChanges, EditWithNothingSelectedStartsANewOrder) {
    OrderDesk desk;
    desk.inJournal([&] {
        desk.changeOrder([&] {
            EXPECT_EQ(Form3->ADOTable1->State(), dsInsert);
            OrderDesk::fillOrder(QStringLiteral("10032025"), QStringLiteral("500"));
            OrderDesk::pressOk();
        });
        // A search that matches nothing: "Редактировать" is "Новый заказ" again.
        test::typeText(Form2->Edit1, QStringLiteral("нет такого"));
        ASSERT_EQ(Form2->ADOTable1->RecordCount(), 0);
        desk.changeOrder([&] {
            EXPECT_EQ(Form3->ADOTable1->State(), dsInsert);
            EXPECT_EQ(Form3->DateEdit1->text(), QStringLiteral("10.03.2025"));
            OrderDesk::fillOrder(QStringLiteral("11032025"), QStringLiteral("7"));
            OrderDesk::pressOk();
        });
    });
    ASSERT_EQ(desk.orders().size(), 2);
    EXPECT_EQ(desk.orders()[1][0], QStringLiteral("2025-03-11 00:00:00"));
}

TEST(OrderChanges, AnOrderWithoutDateOrWithAVanishedSettlementMustBeCompleted) {
    OrderDesk desk([](test::TempDatabase& db) {
        db.exec(QStringLiteral(
            "INSERT INTO \"Журнал\" (\"Населённый пункт\", \"Транспортное средство\", "
            "\"Вес груза\") VALUES ('Старое Село', 'ГАЗель', 10)"));
    });
    desk.inJournal([&] {
        desk.newOrder([&] { OrderDesk::typeDate(QStringLiteral("10032025")); });
        desk.changeOrder([&] {
            // No stored date: the box is blank, and "ОК" asks for one.
            EXPECT_EQ(Form3->DateEdit1->text(), QStringLiteral("  .  .    "));
            EXPECT_TRUE(Form3->DBLookupComboBox1->Text().isEmpty());
            OrderDesk::typeDate(QStringLiteral("12032025"));
            // A settlement the list no longer holds: no sum from another one.
            OrderDesk::pressOk();
            EXPECT_EQ(desk.messageTexts(), QStringList{QStringLiteral("Не все поля запонены")});
            OrderDesk::pick(Form3->DBLookupComboBox1, 1); // Клин, 80 km
            OrderDesk::pressOk();
            EXPECT_FALSE(Form3->isVisible());
        });
    });
    ASSERT_EQ(desk.orders().size(), 1);
    EXPECT_EQ(desk.orders()[0],
              (QStringList{"2025-03-12 00:00:00", "Клин", "", "", "ГАЗель", "10", "240"}));
}

TEST(OrderChanges, ReferenceRowsAddedSinceStartAreOffered) {
    OrderDesk desk;
    desk.database.exec(
        QStringLiteral("INSERT INTO \"Клиенты\" (\"Наименование\") VALUES ('ИП Новый')"));
    desk.database.exec(QStringLiteral("UPDATE \"Населённые пункты\" SET \"Растояние до НП\" = 130 "
                                      "WHERE \"Наименование\" = 'Тверь'"));
    desk.inJournal([&] {
        desk.newOrder([&] {
            OrderDesk::fillOrder(QStringLiteral("10032025"), QStringLiteral("500"));
            OrderDesk::pick(Form3->DBLookupComboBox2, 2);
            EXPECT_EQ(Form3->DBLookupComboBox2->Text(), QStringLiteral("ИП Новый"));
            EXPECT_EQ(Form3->DBEdit2->text(), QStringLiteral("130"));
            OrderDesk::pressOk();
        });
    });
    ASSERT_EQ(desk.orders().size(), 1);
    EXPECT_EQ(desk.orders()[0][2], QStringLiteral("ИП Новый"));
    EXPECT_EQ(desk.orders()[0][6], QStringLiteral("390"));
}

TEST(OrderChanges, TheCloseBoxDuringAChangeDropsTheChange) {
    OrderDesk desk(twoOrders);
    desk.inJournal([&] {
        desk.changeOrder([&] {
            OrderDesk::typeWeight(QStringLiteral("999"));
            OrderDesk::pick(Form3->DBLookupComboBox1, 2);
            Form3->DBLookupComboBox2->setFocus(); // the weight is written into the row
        });
        EXPECT_EQ(Form3->ADOTable1->State(), dsBrowse);
        desk.changeOrder([&] {
            EXPECT_EQ(Form3->DBEdit1->text(), QStringLiteral("100"));
            EXPECT_EQ(Form3->DBLookupComboBox1->Text(), QStringLiteral("Тверь"));
        });
        desk.newOrder([] {});
    });
    ASSERT_EQ(desk.orders().size(), 2);
    EXPECT_EQ(desk.orders()[0][5], QStringLiteral("100"));
    EXPECT_EQ(desk.orders()[0][1], QStringLiteral("Тверь"));
}
