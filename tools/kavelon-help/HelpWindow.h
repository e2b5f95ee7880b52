#pragma once
// The help viewer's one window: the help file at the asked topic, or our own words when the
// file cannot be found. It opens no dialogs, so the program may quit it at any moment.

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace kavelon::help {

// Where the viewer looks for the help file: the working folder first, then beside the viewer
// itself, then the shared data folder of an installed copy (bin/../share/kavelon).
QString locateHelpFile(const QString& fileName);

class HelpWindow : public QWidget {
public:
    HelpWindow(const QString& fileName, const QString& topic);

    // Scrolls to the topic; needs the window shown, since the text is laid out to its width.
    void showTopic();

    // What the window shows, in plain lines (title, file, whether the topic was found, the topic
    // line when it is in view, the line at the top, the text),
    // for tests that run the viewer offscreen.
    QString stateReport() const;

private:
    void showMissingFile(const QString& fileName);

    QTextBrowser* browser_;
    QString topic_;
    QString path_;
    bool topicFound_ = false;
};

} // namespace kavelon::help
