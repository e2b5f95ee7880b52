#include "data/Schema.h"

#include <QStringList>

namespace kavelon {

QString fieldKindName(FieldKind kind) {
    switch (kind) {
    case FieldKind::AutoInc:
        return QStringLiteral("AutoInc");
    case FieldKind::Integer:
        return QStringLiteral("Integer");
    case FieldKind::DateTime:
        return QStringLiteral("DateTime");
    case FieldKind::WideString:
        return QStringLiteral("WideString");
    case FieldKind::Boolean:
        return QStringLiteral("Boolean");
    case FieldKind::SmallInt:
        return QStringLiteral("SmallInt");
    case FieldKind::Float:
        return QStringLiteral("Float");
    case FieldKind::Currency:
        return QStringLiteral("Currency");
    case FieldKind::Memo:
        return QStringLiteral("Memo");
    case FieldKind::Blob:
        return QStringLiteral("Blob");
    }
    return QStringLiteral("Unknown");
}

int defaultDisplayWidth(FieldKind kind, int size) {
    switch (kind) {
    case FieldKind::AutoInc:
    case FieldKind::Integer:
        return 10;
    case FieldKind::SmallInt:
        return 6;
    case FieldKind::DateTime:
        return 18;
    case FieldKind::WideString:
        return size;
    case FieldKind::Boolean:
        return 5;
    case FieldKind::Float:
    case FieldKind::Currency:
        return 10;
    case FieldKind::Memo:
    case FieldKind::Blob:
        return 10;
    }
    return 10;
}

namespace schema {

namespace {
using K = FieldKind;

ColumnSchema autoNumber(const char* name, int displayWidth = 10) {
    return {QString::fromUtf8(name), K::AutoInc, 0, displayWidth, true};
}
ColumnSchema integer(const char* name, int displayWidth = 10) {
    return {QString::fromUtf8(name), K::Integer, 0, displayWidth, false};
}
ColumnSchema dateTime(const char* name, int displayWidth = 18) {
    return {QString::fromUtf8(name), K::DateTime, 0, displayWidth, false};
}
ColumnSchema text(const char* name, int size, int displayWidth = -1) {
    return {QString::fromUtf8(name), K::WideString, size, displayWidth < 0 ? size : displayWidth,
            false};
}
ColumnSchema boolean(const char* name, int displayWidth = 5) {
    return {QString::fromUtf8(name), K::Boolean, 0, displayWidth, false};
}
} // namespace

const TableSchema& journal() {
    static const TableSchema t{journalTable,
                               {autoNumber("ID", 7), dateTime("Отправка", 10),
                                text("Населённый пункт", 30, 20), text("Клиент", 35, 20),
                                text("Водитель", 35, 20), text("Транспортное средство", 20),
                                integer("Вес груза", 12), integer("Сумма", 14)}};
    return t;
}

const TableSchema& clients() {
    static const TableSchema t{clientsTable,
                               {text("Наименование", 35, 25), text("ФИО Директора", 40, 25),
                                text("Адрес", 55, 40), text("Телефон", 255, 20)}};
    return t;
}

const TableSchema& settlements() {
    static const TableSchema t{settlementsTable,
                               {text("Наименование", 30, 40), integer("Растояние до НП", 40)}};
    return t;
}

const TableSchema& vehicles() {
    static const TableSchema t{vehiclesTable,
                               {autoNumber("Код"), text("Марка", 255, 25),
                                text("Госномер", 255, 10), text("Грузоподъёмность (кг)", 255, 25),
                                text("Расход (л/100км)", 255, 3),
                                text("Цена перев 1кг/1км", 255, 5)}};
    return t;
}

const TableSchema& drivers() {
    static const TableSchema t{driversTable,
                               {autoNumber("Код"), text("ФИО", 35, 19), integer("№ ВУ"),
                                boolean("Межд ВУ"), text("Адрес прописки", 40, 30),
                                integer("Контактный телефон", 7), text("Автомобиль", 30, 20)}};
    return t;
}

const std::vector<TableSchema>& all() {
    static const std::vector<TableSchema> tables{journal(), clients(), settlements(), vehicles(),
                                                 drivers()};
    return tables;
}

const TableSchema* find(const QString& tableName) {
    for (const TableSchema& t : all())
        if (t.name == tableName)
            return &t;
    return nullptr;
}

namespace {
QString quoted(const QString& identifier) {
    QString q = identifier;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString declaredType(const ColumnSchema& c) {
    switch (c.kind) {
    case K::AutoInc:
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case K::Integer:
        return QStringLiteral("INTEGER");
    case K::DateTime:
        return QStringLiteral("DATETIME");
    case K::WideString:
        return QStringLiteral("VARCHAR(%1)").arg(c.size);
    case K::Boolean:
        return QStringLiteral("BOOLEAN");
    case K::SmallInt:
        return QStringLiteral("SMALLINT");
    case K::Float:
        return QStringLiteral("FLOAT");
    case K::Currency:
        return QStringLiteral("CURRENCY");
    case K::Memo:
        return QStringLiteral("MEMO");
    case K::Blob:
        return QStringLiteral("BLOB");
    }
    return {};
}
} // namespace

QString createStatement(const TableSchema& table) {
    QStringList columns;
    for (const ColumnSchema& c : table.columns)
        columns << quoted(c.name) + QLatin1Char(' ') + declaredType(c);
    return QStringLiteral("CREATE TABLE %1 (%2)")
        .arg(quoted(table.name), columns.join(QStringLiteral(", ")));
}

} // namespace schema
} // namespace kavelon
