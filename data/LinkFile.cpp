#include "data/LinkFile.h"
#include "data/Errors.h"

#include <QDir>
#include <QFile>
#include <QUrl>

namespace kavelon::link {

namespace {
QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}
} // namespace

std::optional<QString> readUri(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray head = file.read(qint64(sizeof firstLine) + 1);
    const QByteArray expected(firstLine);
    if (!(head == expected || head.startsWith(expected + '\n') ||
          head.startsWith(expected + "\r\n")))
        return std::nullopt;
    file.seek(0);
    const QList<QByteArray> lines = file.read(64 * 1024).split('\n');
    const QString uri = lines.size() > 1 ? QString::fromUtf8(lines[1]).trimmed() : QString();
    if (const QString problem = uriProblem(uri); !problem.isEmpty())
        throw DatabaseError(QStringLiteral("The link file \"%1\" names no database server: %2")
                                .arg(native(path), problem));
    return uri;
}

QString uriProblem(const QString& uri) {
    if (uri.isEmpty())
        return QStringLiteral("the line with the server's address is missing");
    const QUrl url(uri, QUrl::StrictMode);
    if (!url.isValid() ||
        (url.scheme() != QLatin1String("postgresql") && url.scheme() != QLatin1String("postgres")))
        return QStringLiteral("\"%1\" is not an address of the form postgresql://HOST/DATABASE")
            .arg(uri);
    if (!url.password().isEmpty())
        return QStringLiteral("the address holds a password; keep it in ~/.pgpass instead");
    return {};
}

void write(const QString& path, const QString& uri) {
    if (const QString problem = uriProblem(uri); !problem.isEmpty())
        throw DatabaseError(QStringLiteral("No link file was written: %1").arg(problem));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        throw DatabaseError(QStringLiteral("The link file \"%1\" cannot be made: %2")
                                .arg(native(path), file.exists() ? QStringLiteral("the file exists")
                                                                 : file.errorString()));
    const QByteArray text = QByteArray(firstLine) + '\n' + uri.toUtf8() + '\n';
    if (file.write(text) != text.size() || !file.flush())
        throw DatabaseError(QStringLiteral("The link file \"%1\" cannot be written: %2")
                                .arg(native(path), file.errorString()));
}

} // namespace kavelon::link
