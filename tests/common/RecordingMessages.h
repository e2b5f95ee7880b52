#pragma once
// The message seam for tests: records every box instead of showing it and answers questions from
// a queue (Cancel when the queue is empty). Installed for its lifetime.

#include "controls/Messages.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

namespace kavelon::test {

class RecordingMessages final : public MessageSeam {
public:
    enum class Kind { Message, Error, Fatal, Confirm };
    struct Box {
        Kind kind;
        QString caption; // the confirm question's caption; empty for the others
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

    // The next answers of confirm, in order.
    void answer(Answer a) { answers_.push_back(a); }

    const std::vector<Box>& boxes() const { return boxes_; }
    // The texts of the boxes of one kind, in order.
    QStringList texts(Kind kind) const;
    void clear() { boxes_.clear(); }

private:
    std::vector<Box> boxes_;
    std::deque<Answer> answers_;
};

} // namespace kavelon::test
