#pragma once
// The whole program on a fresh database file with a few reference rows, the main window shown,
// every box recorded: the dispatcher's desk for the order dialog tests. Orders are driven through
// the journal window's buttons, as the dispatcher does it, and checked in the file afterwards.

#include "WhenShown.h"
#include "app/ModalShowing.h"
#include "common/RecordingMessages.h"
#include "common/SqliteReader.h"
#include "common/TempDatabase.h"
#include "common/TypeText.h"
#include "controls/DateBox.h"
#include "controls/LookupList.h"
#include "controls/TDBEdit.h"
#include "controls/TDBLookupComboBox.h"
#include "windows/journal/Unit2.h"
#include "windows/journal/Unit3.h"
#include "windows/shell/Startup.h"
#include "windows/shell/Unit1.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace kavelon::test {

struct OrderDesk {
    TempDatabase database;
    RecordingMessages boxes;

    // Reference rows every test starts from; seed adds more before the program starts.
    explicit OrderDesk(const std::function<void(TempDatabase&)>& seed = {}) {
        database.exec(
            QStringLiteral("INSERT INTO \"Населённые пункты\" VALUES ('Тверь', 120), ('Клин', 80), "
                           "('Дмитров', 45)"));
        database.exec(QStringLiteral("INSERT INTO \"Клиенты\" (\"Наименование\") VALUES "
                                     "('ООО Ива'), ('ЗАО Дуб')"));
        database.exec(QStringLiteral("INSERT INTO \"Водители\" (\"ФИО\") VALUES "
                                     "('Иванов И.И.'), ('Петров П.П.')"));
        database.exec(QStringLiteral(
            "INSERT INTO \"Транспортные ср-ва\" (\"Марка\", \"Госномер\", "
            "\"Цена перев 1кг/1км\") VALUES ('ГАЗель', 'А123ВС', '3'), ('КамАЗ', 'В456ОР', '7')"));
        if (seed)
            seed(database);
        database.enter();
        QApplication::setQuitOnLastWindowClosed(false);
        applyFontSubstitutions();
        createForms();
        showMainWindow(Form1);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Form1)) << "the main window was never shown";
    }
    ~OrderDesk() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w != Form1)
                w->hide();
        destroyForms();
    }

    // Rows of a query on the file, each column as text ("" for null).
    QList<QStringList> query(const QString& sql) const {
        return SqliteReader(database.path()).texts(sql);
    }
    // The orders in the file: Отправка, Населённый пункт, Клиент, Водитель,
    // Транспортное средство, Вес груза, Сумма, in the order of ID.
    QList<QStringList> orders() const {
        return query(QStringLiteral(
            "SELECT \"Отправка\", \"Населённый пункт\", \"Клиент\", \"Водитель\", "
            "\"Транспортное средство\", \"Вес груза\", \"Сумма\" FROM \"Журнал\" ORDER BY \"ID\""));
    }

    QStringList messageTexts() const { return boxes.texts(RecordingMessages::Kind::Message); }
    QStringList errorTexts() const { return boxes.texts(RecordingMessages::Kind::Error); }

    // Shows the journal ("Заказ" in the main window), runs act in it and closes it.
    void inJournal(const std::function<void()>& act) {
        whenShown(
            Form2, [] { QTest::mouseClick(Form1->Button1, Qt::LeftButton); }, // "Заказ"
            [&] {
                act();
                QTest::mouseClick(Form2->Button5, Qt::LeftButton); // "Закрыть"
            });
    }

    // In the journal: presses "Новый заказ" (or "Редактировать"), runs act in the dialog and,
    // when act leaves it open, closes it with its close box.
    void inDialog(QPushButton* journalButton, const std::function<void()>& act) {
        whenShown(
            Form3, [journalButton] { QTest::mouseClick(journalButton, Qt::LeftButton); },
            [&] {
                act();
                if (Form3->isVisible())
                    Form3->close();
            });
    }
    void newOrder(const std::function<void()>& act) { inDialog(Form2->Button1, act); }
    void changeOrder(const std::function<void()>& act) { inDialog(Form2->Button2, act); }

    // What the dispatcher does in the dialog.
    static void typeDate(const QString& digits) {
        Form3->DateEdit1->setFocus();
        Form3->DateEdit1->selectAll();
        QTest::keyClick(Form3->DateEdit1, Qt::Key_Delete);
        Form3->DateEdit1->setCursorPosition(0);
        QTest::keyClicks(Form3->DateEdit1, digits);
    }
    static void typeWeight(const QString& text) {
        Form3->DBEdit1->setFocus();
        Form3->DBEdit1->selectAll();
        QTest::keyClick(Form3->DBEdit1, Qt::Key_Delete);
        typeText(Form3->DBEdit1, text);
    }
    // Opens the box's list, moves the highlight to the row at this position and chooses it.
    static void pick(TDBLookupComboBox* box, int row) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
        QWidget* list = box->list();
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < row; ++i)
            QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
    }
    static void pressOk() { QTest::mouseClick(Form3->Button1, Qt::LeftButton); }
    static void pressCancel() { QTest::mouseClick(Form3->Button2, Qt::LeftButton); }
    // A complete order: Тверь (120 km), ООО Ива, Иванов, ГАЗель (tariff 3).
    static void fillOrder(const QString& date, const QString& weight) {
        typeDate(date);
        pick(Form3->DBLookupComboBox1, 0);
        pick(Form3->DBLookupComboBox2, 0);
        pick(Form3->DBLookupComboBox3, 0);
        pick(Form3->DBLookupComboBox4, 0);
        typeWeight(weight);
    }
};

} // namespace kavelon::test
