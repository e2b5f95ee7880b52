#pragma once
// The windows made as at start-up over a journal of a few orders, and the journal window shown
// and active for a test to drive.

#include "FormsFixture.h"
#include "WhenShown.h"
#include "common/SqliteReader.h"
#include "common/TypeText.h"
#include "controls/TDBGrid.h"
#include "controls/TRadioGroup.h"
#include "windows/journal/Unit2.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace kavelon::test {

class JournalTest : public ::testing::Test {
protected:
    std::unique_ptr<Forms> forms;

    // Client, driver, sum; the ID follows the order given.
    struct Order {
        const char* client;
        const char* driver;
        int sum;
    };

    void SetUp() override {
        forms = std::make_unique<Forms>();
        addOrders({{"Иванов", "Орлов", 300},
                   {"Сивкова", "Смирнов", 100},
                   {"Петров", "Ивлев", 500},
                   {"Ab's", "Кузнецов", 200}});
    }
    void TearDown() override { forms.reset(); }

    void addOrders(const std::vector<Order>& orders) {
        for (const Order& o : orders)
            forms->database.exec(
                QStringLiteral("INSERT INTO \"Журнал\" (\"Отправка\", \"Населённый пункт\", "
                               "\"Клиент\", \"Водитель\", \"Транспортное средство\", "
                               "\"Вес груза\", \"Сумма\") VALUES ('2024-03-05 00:00:00', "
                               "'Тверь', '%1', '%2', 'ГАЗ', 10, %3)")
                    .arg(QString::fromUtf8(o.client).replace(u'\'', QStringLiteral("''")),
                         QString::fromUtf8(o.driver))
                    .arg(o.sum));
        // The window's cursor read the file before these rows were written.
        Form2->ADOTable1->Requery();
    }

    // Shows the journal modally and runs act inside the showing; returns when it is closed.
    void inJournal(const std::function<void()>& act) {
        whenShown(
            Form2, [] { showModal(Form2); },
            [&] {
                act();
                if (Form2->isVisible())
                    QTest::mouseClick(Form2->Button5, Qt::LeftButton);
            });
    }

    // A column of the rows the journal shows, top to bottom.
    QStringList shownColumn(const QString& name) const {
        TableCursor& t = *Form2->ADOTable1;
        const int field = t.FieldByName(name).index();
        QStringList out;
        for (int row = 0; row < t.rowCount(); ++row) {
            const Value v = t.valueAt(row, field);
            out << (v.type() == Value::Type::Integer ? QString::number(v.toInteger())
                    : v.isNull()                     ? QString()
                                                     : v.toText());
        }
        return out;
    }

    void pick(TRadioGroup* group, int item) {
        QTest::mouseClick(group->button(item), Qt::LeftButton, {},
                          QPoint(6, group->button(item)->height() / 2));
    }

    void typeInto(QLineEdit* edit, const QString& text) {
        edit->setFocus(Qt::MouseFocusReason);
        typeText(edit, text);
    }

    QStringList errors() const { return forms->boxes.texts(RecordingMessages::Kind::Error); }

    // One column of a query on the database file, as text ("NULL" for an empty value).
    QStringList inFile(const QString& sql) const {
        return SqliteReader(forms->database.path()).column(sql, QStringLiteral("NULL"));
    }
};

} // namespace kavelon::test
