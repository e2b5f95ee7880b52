// The order entry dialog "Новый заказ", driven through the journal as the dispatcher drives it,
// with the database file checked afterwards.

#include "../OrderDesk.h"

#include "controls/DateBoxCalendar.h"

#include <QFontInfo>
#include <QLabel>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace kavelon;
using kavelon::test::OrderDesk;

namespace {

const QString NotAllFilled = QStringLiteral("Не все поля запонены");

} // namespace

TEST(OrderDialog, LaidOutAsDesigned) {
    OrderDesk desk;
    EXPECT_EQ(Form3->windowTitle(), QStringLiteral("Новый заказ"));
    EXPECT_EQ(Form3->size(), QSize(384, 387));
    EXPECT_EQ(Form3->minimumSize(), Form3->maximumSize());
    EXPECT_FALSE(Form3->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(Form3->windowFlags() & Qt::WindowMinimizeButtonHint);

    EXPECT_EQ(Form3->Label1->geometry(), QRect(0, 0, 384, 25));
    EXPECT_EQ(Form3->Label1->text(), QStringLiteral("Новый заказ"));
    EXPECT_EQ(Form3->Label1->font().family(), QStringLiteral("Georgia"));
    EXPECT_EQ(Form3->Label1->font().pixelSize(), 21);
    EXPECT_TRUE(Form3->Label1->autoFillBackground());
    EXPECT_EQ(Form3->Label1->palette().color(QPalette::Window), QColor(255, 251, 240));
    EXPECT_TRUE(Form3->Label1->alignment() & Qt::AlignHCenter);

    const struct {
        QLabel* label;
        const char* text;
        QRect geometry;
    } labels[] = {{Form3->Label2, "Отправка", {24, 56, 71, 18}},
                  {Form3->Label3, "Населённый пункт", {24, 88, 139, 18}},
                  {Form3->Label4, "Клиент", {24, 152, 54, 18}},
                  {Form3->Label5, "Водитель", {24, 184, 69, 18}},
                  {Form3->Label6, "Транстпортное средство", {24, 216, 115, 36}},
                  {Form3->Label7, "Вес груза", {24, 296, 69, 18}}};
    for (const auto& l : labels) {
        EXPECT_EQ(l.label->text(), QString::fromUtf8(l.text));
        // At its place, as large as designed or larger when the substitute face is wider.
        EXPECT_EQ(l.label->pos(), l.geometry.topLeft()) << l.text;
        EXPECT_GE(l.label->width(), l.geometry.width()) << l.text;
        EXPECT_GE(l.label->height(), l.geometry.height()) << l.text;
        EXPECT_LE(l.label->geometry().right(), 175) << l.text;
        if (l.label != Form3->Label6) {
            EXPECT_GE(l.label->width(),
                      QFontMetrics(l.label->font()).horizontalAdvance(l.label->text()))
                << l.text;
        }
        EXPECT_EQ(l.label->font().family(), QStringLiteral("Georgia"));
        EXPECT_EQ(l.label->font().pixelSize(), 16);
        EXPECT_FALSE(l.label->autoFillBackground());
    }
    EXPECT_TRUE(Form3->Label6->wordWrap());
    EXPECT_EQ(Form3->Label9->text(), QStringLiteral("км"));
    EXPECT_EQ(Form3->Label9->geometry(), QRect(285, 115, 14, 13));
    EXPECT_EQ(Form3->Label9->font().pixelSize(), 11);

    EXPECT_EQ(Form3->DateEdit1->geometry(), QRect(176, 56, 145, 21));
    EXPECT_EQ(Form3->DateEdit1->text(), QStringLiteral("  .  .    "));
    EXPECT_EQ(Form3->DateEdit1->dropDownButton()->width(), 22);
    EXPECT_EQ(Form3->DBLookupComboBox1->geometry(), QRect(176, 88, 145, 21));
    EXPECT_EQ(Form3->DBEdit2->geometry(), QRect(176, 112, 105, 21));
    EXPECT_EQ(Form3->DBLookupComboBox2->geometry(), QRect(176, 152, 145, 21));
    EXPECT_EQ(Form3->DBLookupComboBox3->geometry(), QRect(176, 184, 145, 21));
    EXPECT_EQ(Form3->DBLookupComboBox4->geometry(), QRect(176, 216, 145, 21));
    EXPECT_EQ(Form3->DBEdit3->geometry(), QRect(176, 256, 89, 21));
    EXPECT_EQ(Form3->DBEdit1->geometry(), QRect(176, 296, 145, 21));
    EXPECT_EQ(Form3->Button1->geometry(), QRect(112, 344, 75, 25));
    EXPECT_EQ(Form3->Button2->geometry(), QRect(200, 344, 75, 25));
    EXPECT_EQ(Form3->Button1->text(), QStringLiteral("ОК"));
    EXPECT_EQ(Form3->Button2->text(), QStringLiteral("Отмена"));
    EXPECT_FALSE(Form3->DBEdit2->isEnabled());
    EXPECT_FALSE(Form3->DBEdit3->isEnabled());
    EXPECT_EQ(Form3->DBEdit1->font().pixelSize(), 11);

    // Tab: date, settlement, customer, driver, weight, "ОК", "Отмена", vehicle, and round again;
    // Enter presses nothing and Esc does not close. The keys go to the dialog's own focus widget:
    // the window system may make the dialog the active window only some time after it shows,
    // and until then the application's focus widget is still the journal's.
    desk.inJournal([&] {
        desk.newOrder([&] {
            Form3->DateEdit1->setFocus();
            ASSERT_EQ(Form3->focusWidget(), Form3->DateEdit1);
            const QWidget* expected[] = {Form3->DBLookupComboBox1, Form3->DBLookupComboBox2,
                                         Form3->DBLookupComboBox3, Form3->DBEdit1,
                                         Form3->Button1,           Form3->Button2,
                                         Form3->DBLookupComboBox4, Form3->DateEdit1};
            for (const QWidget* w : expected) {
                QTest::keyClick(Form3->focusWidget(), Qt::Key_Tab);
                EXPECT_EQ(Form3->focusWidget(), w)
                    << (Form3->focusWidget() ? qPrintable(Form3->focusWidget()->objectName())
                                             : "none");
            }
            OrderDesk::typeWeight(QStringLiteral("5"));
            QTest::keyClick(Form3->DBEdit1, Qt::Key_Return);
            Form3->Button1->setFocus();
            QTest::keyClick(Form3->Button1, Qt::Key_Escape);
            EXPECT_TRUE(Form3->isVisible());
            EXPECT_TRUE(desk.messageTexts().isEmpty());
            EXPECT_TRUE(desk.errorTexts().isEmpty());
            // Enter on the focused "ОК" presses it: without a date, its check answers.
            QTest::keyClick(Form3->Button1, Qt::Key_Return);
            EXPECT_EQ(desk.messageTexts(), QStringList{QStringLiteral("Не все поля запонены")});
            EXPECT_TRUE(Form3->isVisible());
        });
    });
    EXPECT_TRUE(desk.orders().isEmpty());
}

TEST(OrderDialog, OkStoresTheSumOfDistanceTimesTariff) {
    OrderDesk desk;
    desk.inJournal([&] {
        desk.newOrder([&] {
            OrderDesk::fillOrder(QStringLiteral("10032025"), QStringLiteral("500"));
            EXPECT_EQ(Form3->DBEdit2->text(), QStringLiteral("120"));
            EXPECT_EQ(Form3->DBEdit3->text(), QStringLiteral("3"));
            EXPECT_EQ(Form3->DBLookupComboBox4->Text(), QStringLiteral("ГАЗель"));
            // The vehicle list is as wide as the box and shows the make alone, no plate.
            QTest::keyClick(Form3->DBLookupComboBox4, Qt::Key_Down, Qt::AltModifier);
            EXPECT_EQ(Form3->DBLookupComboBox4->list()->width(), 145);
            EXPECT_EQ(Form3->DBLookupComboBox4->list()->columnEdges().size(), 2u);
            QTest::keyClick(Form3->DBLookupComboBox4->list(), Qt::Key_Escape);
            EXPECT_EQ(Form3->DBEdit3->text(), QStringLiteral("3"));
            OrderDesk::pressOk();
            EXPECT_FALSE(Form3->isVisible());
        });
        // The journal lists the order at once.
        EXPECT_EQ(Form2->ADOTable1->RecordCount(), 1);
        EXPECT_TRUE(Form3->DBEdit1->text().isEmpty());
    });
    ASSERT_EQ(desk.orders().size(), 1);
    EXPECT_EQ(desk.orders()[0], (QStringList{"2025-03-10 00:00:00", "Тверь", "ООО Ива",
                                             "Иванов И.И.", "ГАЗель", "500", "360"}));
    EXPECT_TRUE(desk.messageTexts().isEmpty());
    EXPECT_TRUE(desk.errorTexts().isEmpty());

    // The next new order finds the date box as it was left.
    desk.inJournal([&] {
        desk.newOrder([&] {
            EXPECT_EQ(Form3->DateEdit1->text(), QStringLiteral("10.03.2025"));
            EXPECT_TRUE(Form3->DBLookupComboBox1->Text().isEmpty());
            EXPECT_TRUE(Form3->DBEdit1->text().isEmpty());
        });
    });
}

TEST(OrderDialog, MissingWeightDateOrPicksAreRefusedOnce) {
    OrderDesk desk;
    desk.inJournal([&] {
        desk.newOrder([&] {
            // Both empty: one message.
            OrderDesk::pressOk();
            EXPECT_EQ(desk.messageTexts(), QStringList{NotAllFilled});
            // Weight but no date.
            OrderDesk::pick(Form3->DBLookupComboBox1, 0);
            OrderDesk::pick(Form3->DBLookupComboBox4, 0);
            OrderDesk::typeWeight(QStringLiteral("500"));
            OrderDesk::pressOk();
            EXPECT_EQ(desk.messageTexts(), (QStringList{NotAllFilled, NotAllFilled}));
            EXPECT_TRUE(Form3->isVisible());
        });
        desk.newOrder([&] {
            // Weight and date, but neither settlement nor vehicle picked: no sum from whatever
            // rows the lists stand on.
            OrderDesk::typeDate(QStringLiteral("10032025"));
            OrderDesk::typeWeight(QStringLiteral("500"));
            OrderDesk::pressOk();
            EXPECT_EQ(desk.messageTexts().size(), 3);
            OrderDesk::pick(Form3->DBLookupComboBox1, 1);
            OrderDesk::pressOk();
            EXPECT_EQ(desk.messageTexts().size(), 4);
            EXPECT_TRUE(Form3->isVisible());
        });
    });
    EXPECT_EQ(desk.messageTexts(), QStringList(4, NotAllFilled));
    EXPECT_TRUE(desk.errorTexts().isEmpty());
    EXPECT_TRUE(desk.orders().isEmpty());
}

TEST(OrderDialog, TextsThatAreNoIntegersOrNoDateStoreNothing) {
    OrderDesk desk([](test::TempDatabase& db) {
        db.exec(QStringLiteral("INSERT INTO \"Транспортные ср-ва\" (\"Марка\", "
                               "\"Цена перев 1кг/1км\") VALUES ('Урал', '2,5')"));
        db.exec(QStringLiteral("INSERT INTO \"Населённые пункты\" VALUES ('Луга', NULL)"));
    });
    desk.inJournal([&] {
        desk.newOrder([&] {
            OrderDesk::fillOrder(QStringLiteral("10032025"), QStringLiteral("500"));
            OrderDesk::pick(Form3->DBLookupComboBox4, 2); // Урал, "2,5"
            OrderDesk::pressOk();
            EXPECT_EQ(desk.errorTexts(), QStringList{"'2,5' is not a valid integer value."});
            EXPECT_TRUE(Form3->isVisible());

            // A settlement without a distance: two quotes side by side.
            OrderDesk::pick(Form3->DBLookupComboBox4, 0);
            OrderDesk::pick(Form3->DBLookupComboBox1, 3); // Луга
            EXPECT_TRUE(Form3->DBEdit2->text().isEmpty());
            OrderDesk::pressOk();
            EXPECT_EQ(desk.errorTexts().value(1),
                      QStringLiteral("'' is not a valid integer value."));

            // A date with digits that names no date is refused, not stored as 30.12.1899.
            OrderDesk::pick(Form3->DBLookupComboBox1, 0);
            OrderDesk::typeDate(QStringLiteral("31022024"));
            OrderDesk::pressOk();
            EXPECT_EQ(desk.errorTexts().value(2),
                      QStringLiteral("'31.02.2024' is not a valid date and time."));
            OrderDesk::typeDate(QStringLiteral("01"));
            OrderDesk::pressOk();
            EXPECT_EQ(desk.errorTexts().value(3),
                      QStringLiteral("'01.  .    ' is not a valid date and time."));
            EXPECT_TRUE(Form3->isVisible());
            // "Отмена" still drops the row.
            OrderDesk::pressCancel();
            EXPECT_FALSE(Form3->isVisible());
            EXPECT_EQ(Form3->ADOTable1->State(), dsBrowse);
        });
    });
    EXPECT_EQ(desk.errorTexts().size(), 4);
    EXPECT_TRUE(desk.orders().isEmpty());
}

TEST(OrderDialog, WeightThatIsNoIntegerShowsOneError) {
    OrderDesk desk;
    desk.inJournal([&] {
        desk.newOrder([&] {
            OrderDesk::fillOrder(QStringLiteral("10032025"), QStringLiteral("-"));
            OrderDesk::pressOk();
            EXPECT_EQ(desk.errorTexts(),
                      QStringList{"'-' is not a valid integer value for field 'Вес груза'"});
            EXPECT_TRUE(Form3->isVisible());
        });
    });
    EXPECT_TRUE(desk.orders().isEmpty());
}

TEST(OrderDialog, SumOutsideTheIntegerRangeIsRefused) {
    OrderDesk desk([](test::TempDatabase& db) {
        db.exec(QStringLiteral("UPDATE \"Населённые пункты\" SET \"Растояние до НП\" = 100000"));
        db.exec(
            QStringLiteral("UPDATE \"Транспортные ср-ва\" SET \"Цена перев 1кг/1км\" = '30000'"));
    });
    desk.inJournal([&] {
        desk.newOrder([&] {
            OrderDesk::fillOrder(QStringLiteral("10032025"), QStringLiteral("1"));
            OrderDesk::pressOk();
            EXPECT_EQ(desk.messageTexts(),
                      QStringList{QStringLiteral("Сумма заказа вне допустимого диапазона")});
            EXPECT_TRUE(Form3->isVisible());
        });
    });
    EXPECT_TRUE(desk.orders().isEmpty());
}

TEST(OrderDialog, LongMakeIsCutAndTheSumUsesThePickedVehicle) {
    OrderDesk desk([](test::TempDatabase& db) {
        db.exec(QStringLiteral(
            "INSERT INTO \"Транспортные ср-ва\" (\"Марка\", \"Госномер\", \"Цена перев "
            "1кг/1км\") VALUES ('Мерседес-Бенц Актрос 1845', 'Е777КХ', '9')"));
    });
    desk.inJournal([&] {
        desk.newOrder([&] {
            OrderDesk::fillOrder(QStringLiteral("10032025"), QStringLiteral("10"));
            OrderDesk::pick(Form3->DBLookupComboBox4, 2);
            EXPECT_EQ(Form3->DBEdit3->text(), QStringLiteral("9"));
            OrderDesk::pressOk();
            EXPECT_FALSE(Form3->isVisible());
        });
    });
    ASSERT_EQ(desk.orders().size(), 1);
    EXPECT_EQ(desk.orders()[0][4], QStringLiteral("Мерседес-Бенц Актрос"));
    EXPECT_EQ(desk.orders()[0][6], QStringLiteral("1080"));
}

TEST(OrderDialog, CancelAndTheCloseBoxDropTheRow) {
    OrderDesk desk;
    desk.inJournal([&] {
        desk.newOrder([&] {
            OrderDesk::fillOrder(QStringLiteral("10032025"), QStringLiteral("500"));
            OrderDesk::pressCancel();
            EXPECT_FALSE(Form3->isVisible());
        });
        // The close box after a pick, then a new order: the abandoned row is not stored.
        desk.newOrder([&] { OrderDesk::pick(Form3->DBLookupComboBox1, 1); });
        EXPECT_EQ(Form3->ADOTable1->State(), dsBrowse);
        desk.newOrder([&] {
            EXPECT_TRUE(Form3->DBLookupComboBox1->Text().isEmpty());
            OrderDesk::fillOrder(QStringLiteral("10032025"), QStringLiteral("500"));
            OrderDesk::pressOk();
        });
    });
    ASSERT_EQ(desk.orders().size(), 1);
    EXPECT_EQ(desk.orders()[0][1], QStringLiteral("Тверь"));
    EXPECT_EQ(desk.orders()[0][6], QStringLiteral("360"));
}

TEST(OrderDialog, EscInTheSettlementListKeepsTheSumOnTheShownSettlement) {
    OrderDesk desk;
    desk.inJournal([&] {
        desk.newOrder([&] {
            OrderDesk::fillOrder(QStringLiteral("10032025"), QStringLiteral("500"));
            auto* box = Form3->DBLookupComboBox1;
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
            QWidget* list = box->list();
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_Down);
            QTest::keyClick(list, Qt::Key_Escape);
            EXPECT_EQ(box->Text(), QStringLiteral("Тверь"));
            EXPECT_EQ(Form3->DBEdit2->text(), QStringLiteral("120"));
            OrderDesk::pressOk();
        });
    });
    ASSERT_EQ(desk.orders().size(), 1);
    EXPECT_EQ(desk.orders()[0][6], QStringLiteral("360"));
}
