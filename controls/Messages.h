#pragma once
// The one seam through which the program shows its boxes: the message box, the error box, the
// fatal error box and the questions of the controls. Production shows real modal boxes; tests
// install a recording implementation that answers without blocking.

#include <QString>

class QPrinter;

namespace kavelon {

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

    // The platform's print dialog on the printer (preset by the caller), offering the page range
    // all or minPage … maxPage and no printing to a file; true on OK, the choice left in printer.
    // Not pure: the production dialogs serve every seam that does not answer them itself.
    virtual bool printDialog(QPrinter& printer, int minPage, int maxPage);
    // The open and save dialogs with one file type; an empty name when cancelled.
    virtual QString openFileName(const QString& caption, const QString& filter);
    virtual QString saveFileName(const QString& caption, const QString& filter);
};

// The seam in force; production boxes unless a test installed another.
MessageSeam& messages();
// Installs a seam (nullptr: back to the production boxes). The caller keeps ownership.
void setMessages(MessageSeam* seam);

} // namespace kavelon
