#include "MdbExport.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace kavelon::test {

namespace {
const QString nullMarker = QStringLiteral("<NULL>");

// mdb-export's CSV: quoted fields double their quotes; NULL is the bare marker.
std::vector<std::vector<QVariant>> parseCsv(const QString& text) {
    std::vector<std::vector<QVariant>> rows(1);
    QString field;
    bool quoted = false, inQuotes = false;
    auto endField = [&] {
        rows.back().push_back(!quoted && field == nullMarker ? QVariant() : QVariant(field));
        field.clear();
        quoted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (inQuotes) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                inQuotes = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            inQuotes = quoted = true;
        } else if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\n')) {
            endField();
            rows.emplace_back();
        } else if (c != QLatin1Char('\r')) {
            field += c;
        }
    }
    if (!field.isEmpty() || quoted)
        endField();
    if (rows.back().empty())
        rows.pop_back();
    return rows;
}
} // namespace

std::vector<std::vector<QVariant>> mdbExport(const QString& file, const QString& table) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("MDBICONV"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("mdb-export"),
            {QStringLiteral("-D"), QStringLiteral("%Y-%m-%d %H:%M:%S"), QStringLiteral("-T"),
             QStringLiteral("%Y-%m-%d %H:%M:%S"), QStringLiteral("-0"), nullMarker, file, table});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        ADD_FAILURE() << "mdb-export failed (package mdbtools): "
                      << p.readAllStandardError().toStdString();
        return {};
    }
    auto rows = parseCsv(QString::fromUtf8(p.readAllStandardOutput()));
    if (!rows.empty())
        rows.erase(rows.begin()); // the header
    return rows;
}

} // namespace kavelon::test
