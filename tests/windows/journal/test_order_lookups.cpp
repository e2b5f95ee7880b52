// The order dialog's lookup boxes as the dispatcher uses them: what a closed list stores, what a
// box shows after a pick and when the order is opened again, and orders whose vehicle make was
// cut to the journal's 20 characters.

#include "../OrderDesk.h"

#include <gtest/gtest.h>

using namespace kavelon;
using kavelon::test::OrderDesk;

namespace {

const QString NotAllFilled = QStringLiteral("Не все поля запонены");
const QString Actros1845 = QStringLiteral("Mercedes-Benz Actros 1845 LS");
const QString Actros2545 = QStringLiteral("Mercedes-Benz Actros 2545 LS");
const QString ActrosCut = QStringLiteral("Mercedes-Benz Actros"); // as "Журнал" holds it

// Opens the box's list by Alt+Down and closes it with the given key, touching nothing between.
void openAndClose(TDBLookupComboBox* box, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(box->listVisible());
    QTest::keyClick(box->list(), key, modifiers);
    EXPECT_FALSE(box->listVisible());
}

QString settlementOfTheRow() {
    return Form3->ADOTable1->FieldByName(QStringLiteral("Населённый пункт")).AsString();
}

} // namespace

TEST(OrderLookups, ClosingAListWithNoRowHighlightedChoosesNothing) {
    OrderDesk desk([](test::TempDatabase& db) {
        db.exec(QStringLiteral(
            "INSERT INTO \"Журнал\" (\"Отправка\", \"Населённый пункт\", \"Клиент\", "
            "\"Водитель\", \"Транспортное средство\", \"Вес груза\", \"Сумма\") VALUES "
            "('2025-01-05 00:00:00', 'Старое Село', 'ООО Ива', 'Иванов И.И.', 'ГАЗель', 10, 0)"));
    });
    desk.inJournal([&] {
        // A settlement that no list row holds: Enter, Alt+Down and Alt+Up leave it as it is.
        desk.changeOrder([&] {
            TDBLookupComboBox* box = Form3->DBLookupComboBox1;
            openAndClose(box, Qt::Key_Return);
            openAndClose(box, Qt::Key_Down, Qt::AltModifier);
            openAndClose(box, Qt::Key_Up, Qt::AltModifier);
            EXPECT_EQ(settlementOfTheRow(), QStringLiteral("Старое Село"));
            EXPECT_TRUE(box->Text().isEmpty());
            // "ОК" computes with no settlement it was not given.
            OrderDesk::pressOk();
            EXPECT_EQ(desk.messageTexts(), QStringList{NotAllFilled});
            OrderDesk::pressCancel();
        });
        // An empty settlement in a new order stays empty.
        desk.newOrder([&] {
            OrderDesk::typeDate(QStringLiteral("10032025"));
            OrderDesk::pick(Form3->DBLookupComboBox2, 1);
            OrderDesk::pick(Form3->DBLookupComboBox3, 1);
            OrderDesk::pick(Form3->DBLookupComboBox4, 1); // КамАЗ, tariff 7
            OrderDesk::typeWeight(QStringLiteral("5"));
            TDBLookupComboBox* box = Form3->DBLookupComboBox1;
            openAndClose(box, Qt::Key_Down, Qt::AltModifier);
            openAndClose(box, Qt::Key_Enter);
            EXPECT_TRUE(Form3->ADOTable1->FieldByName(QStringLiteral("Населённый пункт")).IsNull());
            EXPECT_TRUE(box->Text().isEmpty());
            OrderDesk::pressOk();
            EXPECT_EQ(desk.messageTexts().size(), 2);
            EXPECT_TRUE(Form3->isVisible());
            // A row highlighted and chosen is stored.
            OrderDesk::pick(box, 1); // Клин, 80 km
            EXPECT_EQ(box->Text(), QStringLiteral("Клин"));
            OrderDesk::pressOk();
            EXPECT_FALSE(Form3->isVisible());
        });
    });
    EXPECT_TRUE(desk.errorTexts().isEmpty()) << desk.errorTexts().join(u'\n').toStdString();
    ASSERT_EQ(desk.orders().size(), 2);
    EXPECT_EQ(desk.orders()[0][1], QStringLiteral("Старое Село"));
    EXPECT_EQ(desk.orders()[1], (QStringList{"2025-03-10 00:00:00", "Клин", "ЗАО Дуб",
                                             "Петров П.П.", "КамАЗ", "5", "560"}));
}

TEST(OrderLookups, APickedMakeShowsAsTheOrderHoldsIt) {
    // Two makes that are one after the cut to 20 characters; the later in make order comes
    // first in the list.
    OrderDesk desk([](test::TempDatabase& db) {
        db.exec(QStringLiteral("INSERT INTO \"Транспортные ср-ва\" (\"Марка\", \"Госномер\", "
                               "\"Цена перев 1кг/1км\") VALUES ('%1', 'Е777КХ', '11'), "
                               "('%2', 'М001ММ', '9')")
                    .arg(Actros2545, Actros1845));
    });
    desk.inJournal([&] {
        desk.newOrder([&] {
            OrderDesk::fillOrder(QStringLiteral("10032025"), QStringLiteral("10"));
            OrderDesk::pick(Form3->DBLookupComboBox4, 2); // 2545, tariff 11
            // The box shows the make the order's 20 characters find; the tariff stays the picked
            // vehicle's, as with two vehicles of one make.
            EXPECT_EQ(Form3->DBLookupComboBox4->Text(), Actros1845);
            EXPECT_EQ(Form3->DBEdit3->text(), QStringLiteral("11"));
            OrderDesk::pressOk();
            EXPECT_FALSE(Form3->isVisible());
        });
        // Opened again, the order shows the same face.
        desk.changeOrder([&] {
            EXPECT_EQ(Form3->DBLookupComboBox4->Text(), Actros1845);
            EXPECT_EQ(Form3->DBEdit3->text(), QStringLiteral("9"));
            OrderDesk::pressCancel();
        });
    });
    EXPECT_TRUE(desk.messageTexts().isEmpty());
    ASSERT_EQ(desk.orders().size(), 1);
    EXPECT_EQ(desk.orders()[0][4], ActrosCut);
    EXPECT_EQ(desk.orders()[0][6], QStringLiteral("1320"));
}

TEST(OrderLookups, AnOrderWithACutMakeIsChangedWithoutPickingItsVehicleAgain) {
    OrderDesk desk([](test::TempDatabase& db) {
        db.exec(QStringLiteral("INSERT INTO \"Транспортные ср-ва\" (\"Марка\", \"Госномер\", "
                               "\"Цена перев 1кг/1км\") VALUES ('%1', 'М001ММ', '9')")
                    .arg(Actros1845));
        db.exec(QStringLiteral(
                    "INSERT INTO \"Журнал\" (\"Отправка\", \"Населённый пункт\", \"Клиент\", "
                    "\"Водитель\", \"Транспортное средство\", \"Вес груза\", \"Сумма\") VALUES "
                    "('2025-01-05 00:00:00', 'Клин', 'ООО Ива', 'Иванов И.И.', '%1', 10, 0)")
                    .arg(ActrosCut));
    });
    desk.inJournal([&] {
        desk.changeOrder([&] {
            TDBLookupComboBox* box = Form3->DBLookupComboBox4;
            EXPECT_EQ(box->Text(), Actros1845);
            EXPECT_EQ(Form3->DBEdit3->text(), QStringLiteral("9"));
            // The list opens on the vehicle, and choosing it again changes nothing.
            openAndClose(box, Qt::Key_Return);
            EXPECT_EQ(box->Text(), Actros1845);
            EXPECT_EQ(Form3->DBEdit3->text(), QStringLiteral("9"));
            OrderDesk::typeWeight(QStringLiteral("20"));
            OrderDesk::pressOk();
            EXPECT_FALSE(Form3->isVisible());
        });
    });
    EXPECT_TRUE(desk.messageTexts().isEmpty());
    EXPECT_TRUE(desk.errorTexts().isEmpty());
    EXPECT_EQ(desk.orders(), (QList<QStringList>{{"2025-01-05 00:00:00", "Клин", "ООО Ива",
                                                  "Иванов И.И.", ActrosCut, "20", "720"}}));
}
