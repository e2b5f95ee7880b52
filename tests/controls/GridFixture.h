#pragma once
// A journal database, its cursor, a data source and a grid on a shown, active window, with a
// second control to leave the grid for, and the message seam recording every box.

#include "common/RecordingMessages.h"
#include "common/SqliteReader.h"
#include "common/TempDatabase.h"
#include "common/TypeText.h"
#include "controls/TDBGrid.h"
#include "controls/TDataSource.h"
#include "data/Connection.h"
#include "data/TableCursor.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace kavelon::test {

class GridTest : public ::testing::Test {
protected:
    enum JournalColumn { ID, Departure, Settlement, Client, Driver, Vehicle, Weight, Sum };

    TempDatabase db;
    RecordingMessages recorded;
    Connection connection;
    std::unique_ptr<TableCursor> table;
    std::unique_ptr<QWidget> window;
    TDataSource* source = nullptr;
    TDBGrid* grid = nullptr;
    QLineEdit* other = nullptr; // another control of the window

    void SetUp() override { db.enter(); }
    void TearDown() override {
        window.reset();
        table.reset();
    }

    void addOrder(const QString& client, int weight, int sum) {
        db.exec(QStringLiteral("INSERT INTO \"Журнал\" (\"Отправка\", \"Населённый пункт\", "
                               "\"Клиент\", \"Водитель\", \"Транспортное средство\", "
                               "\"Вес груза\", \"Сумма\") VALUES ('2024-03-05 00:00:00', "
                               "'Тверь', '%1', 'Петров', 'ГАЗ', %2, %3)")
                    .arg(client)
                    .arg(weight)
                    .arg(sum));
    }

    // Orders 1 … count at once, "Клиент i" with weight i and sum 10 × i.
    void addOrders(int count) {
        db.exec(QStringLiteral(
                    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                    "INSERT INTO \"Журнал\" (\"Отправка\", \"Населённый пункт\", \"Клиент\", "
                    "\"Водитель\", \"Транспортное средство\", \"Вес груза\", \"Сумма\") "
                    "SELECT '2024-03-05 00:00:00', 'Тверь', 'Клиент ' || i, 'Петров', 'ГАЗ', i, "
                    "i * 10 FROM n")
                    .arg(count));
    }

    // Opens the cursor as the journal window declares it and shows it in a grid.
    void openGrid(const QString& tableName = QStringLiteral("Журнал"),
                  std::vector<ColumnSchema> fields = {}) {
        if (fields.empty() && tableName == QStringLiteral("Журнал"))
            fields = schema::journal().columns;
        table = std::make_unique<TableCursor>(QStringLiteral("ADOTable1"));
        table->setConnection(&connection);
        table->setTableName(tableName);
        table->declareFields(fields);
        table->Open();

        window = std::make_unique<QWidget>();
        window->resize(840, 400);
        source = new TDataSource(window.get());
        source->setDataSet(table.get());
        grid = new TDBGrid(window.get());
        grid->setObjectName(QStringLiteral("DBGrid1"));
        grid->setGeometry(0, 0, 817, 300);
        grid->setDataSource(source);
        other = new QLineEdit(window.get());
        other->setObjectName(QStringLiteral("Edit1"));
        other->setGeometry(10, 320, 200, 21);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        grid->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }

    QStringList errors() const { return recorded.texts(RecordingMessages::Kind::Error); }
    // The questions asked, as "caption | text".
    QStringList questions() const {
        QStringList out;
        for (const auto& box : recorded.boxes())
            if (box.kind == RecordingMessages::Kind::Confirm)
                out << box.caption + QStringLiteral(" | ") + box.text;
        return out;
    }

    QWidget* focused() const {
        QWidget* w = QApplication::focusWidget();
        return w ? w : grid;
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(focused(), k, mods);
    }
    void type(const QString& text) { typeText(focused(), text); }
    void goToColumn(int column) {
        key(Qt::Key_Home);
        for (int i = 0; i < column; ++i)
            key(Qt::Key_Right);
    }
    void clickCell(int row, int column) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->cellRect(row, column).center());
    }
    void leaveGrid() { QTest::mouseClick(other, Qt::LeftButton); }

    // What a cell shows, read from the cursor as the grid draws it.
    QString shown(int row, int column) {
        const Value v = table->valueAt(row, column);
        if (v.isNull())
            return {};
        switch (v.type()) {
        case Value::Type::Integer:
            return QString::number(v.toInteger());
        case Value::Type::Text:
            return v.toText();
        default:
            return QStringLiteral("?");
        }
    }

    // One column of a query on the database file, as text ("NULL" for an empty value).
    QStringList inFile(const QString& sql) const {
        return SqliteReader(db.path()).column(sql, QStringLiteral("NULL"));
    }
};

} // namespace kavelon::test
