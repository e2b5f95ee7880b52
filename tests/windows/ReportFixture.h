#pragma once
// The orders report over a fresh database: the report's own journal cursor, Report1 as TForm4
// defines it, and a message seam that records boxes and answers the print and file dialogs.

#include "common/TempDatabase.h"
#include "controls/Messages.h"
#include "data/Connection.h"
#include "data/TableCursor.h"
#include "journal/Unit4.h"
#include "report/Report.h"

#include <QPrinter>
#include <QStringList>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace kavelon::test {

class ReportMessages final : public MessageSeam {
public:
    ReportMessages() { setMessages(this); }
    ~ReportMessages() override { setMessages(nullptr); }
    void messageBox(const QString& text) override { shown << QStringLiteral("message: ") + text; }
    void errorBox(const QString& text) override { shown << QStringLiteral("error: ") + text; }
    void fatalBox(const QString& text) override { shown << QStringLiteral("fatal: ") + text; }
    Answer confirm(const QString&, const QString&) override { return Answer::Cancel; }
    bool printDialog(QPrinter& printer, int minPage, int maxPage) override {
        shown << QStringLiteral("print dialog %1-%2 on %3")
                     .arg(minPage)
                     .arg(maxPage)
                     .arg(printer.printerName());
        return onPrintDialog ? onPrintDialog(printer) : false;
    }
    QString openFileName(const QString& caption, const QString& filter) override {
        return next(caption, filter);
    }
    QString saveFileName(const QString& caption, const QString& filter) override {
        return next(caption, filter);
    }

    QStringList shown;
    std::function<bool(QPrinter&)> onPrintDialog;
    std::deque<QString> fileNames; // the next answers of the file dialogs

private:
    QString next(const QString& caption, const QString& filter) {
        shown << caption + QStringLiteral(" [") + filter + u']';
        if (fileNames.empty())
            return {};
        QString name = fileNames.front();
        fileNames.pop_front();
        return name;
    }
};

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
