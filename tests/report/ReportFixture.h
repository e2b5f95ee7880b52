#pragma once
// The orders report over a fresh database: the report's own journal cursor, Report1 as TForm4
// defines it; the recording message seam answers the print and file dialogs.

#include "app/Messages.h"
#include "common/RecordingMessages.h"
#include "common/TempDatabase.h"
#include "data/Connection.h"
#include "data/TableCursor.h"
#include "report/Report.h"
#include "windows/journal/Unit4.h"

#include <QPrinter>
#include <QStringList>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace kavelon::test {

// The boxes and dialogs a test saw, one line each ("message: …", "error: …", "printer setup 1-3",
// "Save report [Report pages (*.kvpages)]").
inline QStringList shown(const RecordingMessages& seam) {
    QStringList out;
    for (const RecordingMessages::Box& b : seam.boxes()) {
        switch (b.kind) {
        case RecordingMessages::Kind::Message:
            out << QStringLiteral("message: ") + b.text;
            break;
        case RecordingMessages::Kind::Error:
            out << QStringLiteral("error: ") + b.text;
            break;
        case RecordingMessages::Kind::PrinterSetup:
            out << QStringLiteral("printer setup ") + b.text;
            break;
        case RecordingMessages::Kind::FileDialog:
            out << b.caption + QStringLiteral(" [") + b.text + u']';
            break;
        default:
            out << b.caption + QStringLiteral(": ") + b.text;
        }
    }
    return out;
}

class ReportTest : public ::testing::Test {
protected:
    TempDatabase db;
    Connection connection;
    std::unique_ptr<TableCursor> cursor;
    std::unique_ptr<report::Report> Report1;

    void SetUp() override {
        db.enter();
        cursor = std::make_unique<TableCursor>(QStringLiteral("ADOTable1"));
        cursor->setConnection(&connection);
        cursor->setTableName(QStringLiteral("Журнал"));
        Report1 = std::make_unique<report::Report>(QStringLiteral("Report1"),
                                                   TForm4::Report1Definition());
        Report1->setDataSet(cursor.get());
    }

    // Orders 1 … count; departure 2024-03-d, sums 1000 + n, weights n.
    void addOrders(int count) {
        QString sql = QStringLiteral("BEGIN;");
        for (int n = 1; n <= count; ++n)
            sql += QStringLiteral(
                       "INSERT INTO \"Журнал\" (\"Отправка\", \"Населённый пункт\", \"Клиент\", "
                       "\"Водитель\", \"Транспортное средство\", \"Вес груза\", \"Сумма\") VALUES "
                       "('2024-03-%1 00:00:00', 'Пункт %2', 'Клиент %2', 'Водитель %2', 'ТС %2', "
                       "%2, %3);")
                       .arg(n % 28 + 1, 2, 10, QLatin1Char('0'))
                       .arg(n)
                       .arg(1000 + n);
        db.exec(sql + QStringLiteral("COMMIT;"));
    }

    void open() { cursor->Open(); }
};

} // namespace kavelon::test
