#include "HelpWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace kavelon::help {
namespace {

const QString kTitle = QStringLiteral("Справка Кавелона");

// The block of an anchor named as the topic, or else of a heading that reads as the topic.
QTextBlock findTopic(const QTextDocument& document, const QString& topic) {
    if (topic.isEmpty())
        return {};
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(topic))
                return block;
        }
    }
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0 &&
            block.text().trimmed().compare(topic, Qt::CaseInsensitive) == 0)
            return block;
    }
    return {};
}

} // namespace

QString locateHelpFile(const QString& fileName) {
    if (fileName.isEmpty())
        return {};
    if (QFileInfo(fileName).isAbsolute())
        return QFileInfo(fileName).isFile() ? fileName : QString();
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString candidates[] = {
        QDir::current().absoluteFilePath(fileName),
        QDir(programFolder).absoluteFilePath(fileName),
        QDir(programFolder).absoluteFilePath(QStringLiteral("../share/kavelon/") + fileName),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    }
    return {};
}

HelpWindow::HelpWindow(const QString& fileName, const QString& topic)
    : browser_(new QTextBrowser(this)), topic_(topic), path_(locateHelpFile(fileName)) {
    setObjectName(QStringLiteral("HelpWindow"));
    browser_->setObjectName(QStringLiteral("HelpText"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    browser_->document()->setDocumentMargin(12);
    setWindowIcon(QIcon::fromTheme(QStringLiteral("kavelon")));
    resize(640, 560);

    QFile file(path_);
    if (path_.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        showMissingFile(fileName);
        return;
    }
    const QString text = QString::fromUtf8(file.readAll());
    if (Qt::mightBeRichText(text))
        browser_->setHtml(text);
    else
        browser_->setMarkdown(text);
    const QString documentTitle = browser_->documentTitle();
    setWindowTitle(documentTitle.isEmpty() ? kTitle : documentTitle);
    topicFound_ = findTopic(*browser_->document(), topic_).isValid();
}

void HelpWindow::showMissingFile(const QString& fileName) {
    setWindowTitle(kTitle);
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (fileName.isEmpty()) {
        browser_->setHtml(QStringLiteral("<h2>Справка не открыта</h2>"
                                         "<p>Просмотрщику не назван файл справки.</p>"));
        return;
    }
    browser_->setHtml(
        QStringLiteral("<h2>Файл справки не найден</h2>"
                       "<p>Файла «%1» нет ни в рабочей папке (%2), ни рядом с программой (%3).</p>"
                       "<p>Положите файл «%1» в одну из этих папок и снова выберите "
                       "«Справка» в меню «Помощь».</p>")
            .arg(fileName.toHtmlEscaped(), QDir::currentPath().toHtmlEscaped(),
                 programFolder.toHtmlEscaped()));
}

void HelpWindow::showTopic() {
    const QTextBlock block = findTopic(*browser_->document(), topic_);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    browser_->setTextCursor(cursor);
    const QRectF place = browser_->document()->documentLayout()->blockBoundingRect(block);
    browser_->verticalScrollBar()->setValue(qRound(place.top()));
}

QString HelpWindow::stateReport() const {
    // The topic counts as shown when its line lies inside the visible part of the text.
    QString shownTopic;
    const QTextBlock block = findTopic(*browser_->document(), topic_);
    if (block.isValid()) {
        const double top = browser_->document()->documentLayout()->blockBoundingRect(block).top() -
                           browser_->verticalScrollBar()->value();
        if (top >= 0 && top < browser_->viewport()->height())
            shownTopic = block.text().trimmed();
    }
    const QString topLine = browser_->cursorForPosition(QPoint(4, 4)).block().text().trimmed();
    return QStringLiteral("title: %1\nfile: %2\ntopic: %3\nshown: %4\ntop: %5\ntext:\n%6\n")
        .arg(windowTitle(), path_,
             topicFound_ ? QStringLiteral("found") : QStringLiteral("not found"), shownTopic,
             topLine, browser_->toPlainText());
}

} // namespace kavelon::help
