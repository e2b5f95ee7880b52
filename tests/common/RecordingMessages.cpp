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

bool RecordingMessages::printerSetup(PrinterSetup& setup) {
    boxes_.push_back(
        {Kind::PrinterSetup, {}, QStringLiteral("%1-%2").arg(setup.minPage).arg(setup.maxPage)});
    return onPrinterSetup && onPrinterSetup(setup);
}

QString RecordingMessages::openFileName(const QString& caption, const QString& filter) {
    if (realFileDialogs) {
        boxes_.push_back({Kind::FileDialog, caption, filter});
        return MessageSeam::openFileName(caption, filter);
    }
    return fileDialog(caption, filter);
}

QString RecordingMessages::saveFileName(const QString& caption, const QString& filter) {
    if (realFileDialogs) {
        boxes_.push_back({Kind::FileDialog, caption, filter});
        return MessageSeam::saveFileName(caption, filter);
    }
    return fileDialog(caption, filter);
}

QString RecordingMessages::fileDialog(const QString& caption, const QString& filter) {
    boxes_.push_back({Kind::FileDialog, caption, filter});
    if (fileNames_.empty())
        return {};
    QString name = fileNames_.front();
    fileNames_.pop_front();
    return name;
}

QStringList RecordingMessages::texts(Kind kind) const {
    QStringList out;
    for (const Box& b : boxes_)
        if (b.kind == kind)
            out << b.text;
    return out;
}

} // namespace kavelon::test
