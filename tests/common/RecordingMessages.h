#pragma once
// The message seam for tests: records every box instead of showing it and answers questions from
// a queue (Cancel when the queue is empty). Installed for its lifetime.

#include "app/Messages.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace kavelon::test {

class RecordingMessages final : public MessageSeam {
public:
    enum class Kind { Message, Error, Fatal, Confirm, PrinterSetup, FileDialog };
    struct Box {
        Kind kind;
        QString caption; // the confirm question's or file dialog's caption; empty for the others
        // the box's text; the page range offered ("1-3") by the printer set-up, the file type by
        // a file dialog
        QString text;
    };

    RecordingMessages() { setMessages(this); }
    ~RecordingMessages() override { setMessages(nullptr); }
    RecordingMessages(const RecordingMessages&) = delete;
    RecordingMessages& operator=(const RecordingMessages&) = delete;

    void messageBox(const QString& text) override;
    void errorBox(const QString& text) override;
    void fatalBox(const QString& text) override;
    Answer confirm(const QString& caption, const QString& text) override;
    bool printerSetup(PrinterSetup& setup) override;
    QString openFileName(const QString& caption, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& filter) override;

    // The printer set-up's answer: the handler chooses as the user would and says whether OK was
    // pressed (Cancel without one).
    std::function<bool(PrinterSetup&)> onPrinterSetup;
    // The program's own file dialogs instead of recorded answers, for tests that drive them.
    bool realFileDialogs = false;
    // The next names chosen in the file dialogs, in order (cancelled when none is left).
    void answerFileName(const QString& name) { fileNames_.push_back(name); }

    // The next answers of confirm, in order.
    void answer(Answer a) { answers_.push_back(a); }

    const std::vector<Box>& boxes() const { return boxes_; }
    // The texts of the boxes of one kind, in order.
    QStringList texts(Kind kind) const;
    void clear() { boxes_.clear(); }

private:
    std::vector<Box> boxes_;
    std::deque<Answer> answers_;
    std::deque<QString> fileNames_;
    QString fileDialog(const QString& caption, const QString& filter);
};

} // namespace kavelon::test
