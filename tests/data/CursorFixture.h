#pragma once
// A fresh database entered as the working folder, its connection, and cursors on it as the
// windows make them; plus an observer that records what a cursor tells its data sources.

#include "common/TempDatabase.h"
#include "data/Connection.h"
#include "data/TableCursor.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace kavelon::test {

class RecordingObserver : public CursorObserver {
public:
    QStringList events;
    std::function<void()> onWritePending; // what a control holding typed text would do
    void fieldChanged(Field& f) override { events << QStringLiteral("field:") + f.FieldName(); }
    void rowChanged() override { events << QStringLiteral("row"); }
    void rowsChanged() override { events << QStringLiteral("rows"); }
    void scrolled(int distance) override { events << QStringLiteral("scrolled:%1").arg(distance); }
    void writePendingChanges() override {
        events << QStringLiteral("write");
        if (onWritePending)
            onWritePending();
    }
    void stateChanged() override { events << QStringLiteral("state"); }
    QString take() {
        const QString s = events.join(QLatin1Char(' '));
        events.clear();
        return s;
    }
};

class CursorTest : public ::testing::Test {
protected:
    TempDatabase db;
    Connection connection;

    void SetUp() override { db.enter(); }

    std::unique_ptr<TableCursor> open(const QString& table,
                                      const std::vector<ColumnSchema>& declared = {},
                                      const QString& name = QStringLiteral("ADOTable1")) {
        auto cursor = std::make_unique<TableCursor>(name);
        cursor->setConnection(&connection);
        cursor->setTableName(table);
        cursor->declareFields(declared);
        cursor->Open();
        return cursor;
    }

    // The message of the error an action raises; empty when it raises none.
    template <typename F> static QString errorOf(F&& action) {
        try {
            action();
        } catch (const Error& e) {
            return e.message();
        }
        return {};
    }

    void addClient(const QString& name) {
        db.exec(
            QStringLiteral("INSERT INTO \"Клиенты\" (\"Наименование\") VALUES ('%1')").arg(name));
    }
};

} // namespace kavelon::test
