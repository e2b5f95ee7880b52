#pragma once
// The windows made as at start-up over a journal of a few orders, and the journal window shown
// and active for a test to drive.

#include "FormsFixture.h"
#include "WhenShown.h"
#include "common/TypeText.h"
#include "controls/TDBGrid.h"
#include "controls/TRadioGroup.h"
#include "windows/journal/Unit2.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <sqlite3.h>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

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
    void inJournal(std::function<void()> act) {
        bool done = false;
        whenShown(Form2, [act, &done] {
            act();
            done = true;
            if (Form2->isVisible())
                QTest::mouseClick(Form2->Button5, Qt::LeftButton);
        });
        showModal(Form2);
        EXPECT_TRUE(done) << "the journal did not show";
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

    QStringList inFile(const QString& sql) const {
        sqlite3* handle = nullptr;
        QStringList out;
        if (sqlite3_open_v2(forms->database.path().toUtf8().constData(), &handle,
                            SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            sqlite3_stmt* st = nullptr;
            if (sqlite3_prepare_v2(handle, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK)
                while (sqlite3_step(st) == SQLITE_ROW) {
                    const auto* v = sqlite3_column_text(st, 0);
                    out << (v ? QString::fromUtf8(reinterpret_cast<const char*>(v))
                              : QStringLiteral("NULL"));
                }
            sqlite3_finalize(st);
        }
        sqlite3_close(handle);
        return out;
    }
};

} // namespace kavelon::test
