#pragma once
// Reads a PDF back with poppler's pdfinfo and pdftotext.

#include <QProcess>
#include <QRegularExpression>
#include <QString>

namespace kavelon::test {

inline QString runTool(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline int pdfPages(const QString& file) {
    const auto m = QRegularExpression(QStringLiteral(R"(Pages:\s+(\d+))"))
                       .match(runTool(QStringLiteral("pdfinfo"), {file}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// "595 x 842" for A4 portrait as Qt writes it (whole points).
inline QString pdfPageSize(const QString& file) {
    const auto m = QRegularExpression(QStringLiteral(R"(Page size:\s+([\d.]+ x [\d.]+))"))
                       .match(runTool(QStringLiteral("pdfinfo"), {file}));
    return m.hasMatch() ? m.captured(1) : QString();
}

// The text of each page, in order.
inline QStringList pdfPageTexts(const QString& file) {
    QStringList pages =
        runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")})
            .split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

} // namespace kavelon::test
