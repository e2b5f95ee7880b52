#pragma once
// The one seam through which the program shows its boxes: the message box, the error box, the
// fatal error box and the questions of the controls. Production shows real modal boxes; tests
// install a recording implementation that answers without blocking.

#include <QString>
#include <QStringList>

namespace kavelon {

// What the printer set-up offers and what was chosen in it: the printer, the orientation, the
// number of copies and the page range, nothing else.
struct PrinterSetup {
    QStringList printers; // to choose from
    QString printer;
    bool landscape = false;
    int copies = 1;
    int fromPage = 0; // 0: all pages
    int toPage = 0;
    int minPage = 1; // the range offered
    int maxPage = 1;
};

class MessageSeam {
public:
    enum class Answer { Ok, Cancel };
    virtual ~MessageSeam() = default;
    // The message box of the windows' own checks ("Не все поля заполнены").
    virtual void messageBox(const QString& text) = 0;
    // The error box; text is the message after the "." rule.
    virtual void errorBox(const QString& text) = 0;
    // The fatal error box; text is complete ("Exception … in module … at …").
    virtual void fatalBox(const QString& text) = 0;
    // A modal question with OK and Cancel ("Delete record?" with the caption "Confirm").
    virtual Answer confirm(const QString& caption, const QString& text) = 0;

    // The printer set-up dialog, preset from setup; true on OK, the choice left in setup.
    // Not pure: the production dialogs serve every seam that does not answer them itself.
    virtual bool printerSetup(PrinterSetup& setup);
    // The open and save dialogs with one file type; an empty name when cancelled. The open
    // dialog takes a name that does not exist, so that the caller's own check can speak.
    virtual QString openFileName(const QString& caption, const QString& filter);
    virtual QString saveFileName(const QString& caption, const QString& filter);
};

// The seam in force; production boxes unless a test installed another.
MessageSeam& messages();
// Installs a seam (nullptr: back to the production boxes). The caller keeps ownership.
void setMessages(MessageSeam* seam);

} // namespace kavelon
