#include "common/RecordingMessages.h"

namespace kavelon::test {

void RecordingMessages::messageBox(const QString& text) {
    boxes_.push_back({Kind::Message, {}, text});
}

void RecordingMessages::errorBox(const QString& text) {
    boxes_.push_back({Kind::Error, {}, text});
}

void RecordingMessages::fatalBox(const QString& text) {
    boxes_.push_back({Kind::Fatal, {}, text});
}

MessageSeam::Answer RecordingMessages::confirm(const QString& caption, const QString& text) {
    boxes_.push_back({Kind::Confirm, caption, text});
    if (answers_.empty())
        return Answer::Cancel;
    const Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

QStringList RecordingMessages::texts(Kind kind) const {
    QStringList out;
    for (const Box& b : boxes_)
        if (b.kind == kind)
            out << b.text;
    return out;
}

} // namespace kavelon::test
