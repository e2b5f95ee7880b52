#include "app/MessageText.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace kavelon {

namespace {
QString& titleOverride() {
    static QString title;
    return title;
}
} // namespace

QString applicationTitleFrom(const QString& programFile) {
    // Both separators: the rule is about the file name whatever wrote the path.
    QString name = programFile.section(QLatin1Char('/'), -1).section(QLatin1Char('\\'), -1);
    name = name.section(QLatin1Char('.'), 0, 0);
    if (name.size() > 1)
        name = name.left(1) + name.mid(1).toLower();
    return name;
}

QString programFileName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

QString applicationTitle() {
    if (!titleOverride().isEmpty())
        return titleOverride();
    return applicationTitleFrom(programFileName());
}

void setApplicationTitle(const QString& title) {
    titleOverride() = title;
}

QString withErrorBoxPeriod(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

QString fatalText(const QString& className, const QString& module, std::uintptr_t address,
                  const QString& message) {
    const QString location =
        QStringLiteral("%1")
            .arg(static_cast<quint64>(address) & 0xFFFFFFFFu, 8, 16, QLatin1Char('0'))
            .toUpper();
    const QString period =
        !message.isEmpty() && !message.endsWith(QLatin1Char('.')) ? QStringLiteral(".") : QString();
    return QStringLiteral("Exception %1 in module %2 at %3.\r\n%4%5\r\n")
        .arg(className, module, location, message, period);
}

} // namespace kavelon
