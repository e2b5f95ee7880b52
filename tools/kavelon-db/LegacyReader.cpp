#include "tools/kavelon-db/LegacyReader.h"

#include "data/Schema.h"
#include "tools/kavelon-db/LegacyFrames.h"
#include "tools/kavelon-db/LegacyJet.h"
#include "tools/kavelon-db/ToolError.h"

#include <QElapsedTimer>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kavelon::dbtool {

namespace {

QString damaged(const QString& path, const QString& what) {
    return QStringLiteral("%1 cannot be imported: %2").arg(path, what);
}

// What the first bytes say; libmdb is only given files that look like Jet 4.
void checkSignature(const QString& path) {
    QFile file(path);
    if (!file.exists())
        throw ToolError(QStringLiteral("%1 does not exist").arg(path));
    if (!file.open(QIODevice::ReadOnly))
        throw ToolError(QStringLiteral("%1 cannot be read: %2").arg(path, file.errorString()));
    const QByteArray head = file.read(0x20);
    if (head.startsWith("SQLite format 3"))
        throw ToolError(QStringLiteral("%1 is already a Kavelon database; there is nothing to "
                                       "import")
                            .arg(path));
    const QByteArray magic = head.mid(4, 15);
    if (head.size() < 0x15 || (magic != "Standard Jet DB" && magic != "Standard ACE DB"))
        throw ToolError(QStringLiteral("%1 is not a predecessor database: it is not a Jet/Access "
                                       "database file at all")
                            .arg(path));
    const char version = head.at(0x14);
    constexpr qint64 jet4PageSize = 4096;
    if (version == 1 && file.size() % jet4PageSize != 0)
        throw ToolError(damaged(path, QStringLiteral("its size is not a whole number of %1-byte "
                                                     "pages; the file is truncated or damaged")
                                          .arg(jet4PageSize)));
    if (magic == "Standard ACE DB" || version >= 2)
        throw ToolError(QStringLiteral("%1 is not a predecessor database: it is an Access 2007 or "
                                       "later (.accdb) file, while the predecessor kept its data "
                                       "in Access 2000–2003 (Jet 4) .mdb files")
                            .arg(path));
    if (version == 0)
        throw ToolError(QStringLiteral("%1 is not a predecessor database: it is an Access 97 "
                                       "(Jet 3) file, while the predecessor kept its data in "
                                       "Access 2000–2003 (Jet 4) .mdb files")
                            .arg(path));
}

class Child {
public:
    Child(pid_t pid, int data, int messages) : pid_(pid), data_(data), messages_(messages) {}
    ~Child() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        closeFd(data_);
        closeFd(messages_);
    }
    static void closeFd(int& fd) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    // Waits for the end of a child that closed its pipe; kills it when it does not end in time.
    int finish(int milliseconds) {
        QElapsedTimer timer;
        timer.start();
        int status = 0;
        while (::waitpid(pid_, &status, WNOHANG) == 0) {
            if (timer.elapsed() > milliseconds) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, &status, 0);
                break;
            }
            ::usleep(2000);
        }
        pid_ = -1;
        return status;
    }
    pid_t pid_;
    int data_, messages_;
};

class FrameDecoder {
public:
    FrameDecoder(const QString& path, LegacySink& sink) : path_(path), sink_(sink) {}
    bool done() const { return done_; }

    void feed(const char* data, size_t size) {
        buffer_.append(data, qsizetype(size));
        qsizetype at = 0;
        while (buffer_.size() - at >= 5) {
            std::uint32_t length = 0;
            std::memcpy(&length, buffer_.constData() + at + 1, 4);
            if (length > 64u * 1024 * 1024)
                throw ToolError(damaged(path_, QStringLiteral("the reader sent garbage")));
            if (std::uint64_t(buffer_.size() - at - 5) < length)
                break;
            handle(buffer_.at(at), frames::Cursor(buffer_.constData() + at + 5, length));
            at += 5 + qsizetype(length);
        }
        buffer_.remove(0, at);
    }

private:
    void handle(char kind, frames::Cursor in) {
        if (done_)
            broken();
        switch (kind) {
        case frames::Failure:
            throw ToolError(damaged(path_, QString::fromUtf8(in.text())));
        case frames::TableBegin: {
            LegacyTable table;
            table.schemaIndex = int(in.u32());
            table.storedRows = in.u32();
            for (std::uint32_t n = in.u32(); in.ok() && n > 0; --n)
                table.skippedColumns << QString::fromUtf8(in.text());
            if (!in.ok() || table.schemaIndex < 0 || table.schemaIndex >= int(schema::all().size()))
                broken();
            columns_ = schema::all()[size_t(table.schemaIndex)].columns.size();
            sink_.beginTable(table);
            return;
        }
        case frames::Row: {
            values_.assign(columns_, LegacyValue{});
            for (LegacyValue& v : values_) {
                const char tag = in.tag();
                switch (tag) {
                case frames::Null:
                    break;
                case frames::Integer:
                    v.kind = LegacyValue::Kind::Integer;
                    v.integer = in.i64();
                    break;
                case frames::Date:
                    v.kind = LegacyValue::Kind::Date;
                    v.days = in.f64();
                    break;
                case frames::Text:
                    v.kind = LegacyValue::Kind::Text;
                    v.text = QString::fromUtf8(in.text());
                    break;
                case frames::True:
                case frames::False:
                    v.kind = LegacyValue::Kind::Boolean;
                    v.flag = tag == frames::True;
                    break;
                default:
                    broken();
                }
            }
            if (!in.ok() || !in.atEnd())
                broken();
            sink_.row(values_);
            return;
        }
        case frames::TableEnd: {
            const std::uint32_t rows = in.u32();
            if (!in.ok())
                broken();
            sink_.endTable(rows);
            return;
        }
        case frames::Done:
            done_ = true;
            return;
        default:
            broken();
        }
    }
    [[noreturn]] void broken() {
        throw ToolError(damaged(path_, QStringLiteral("the reader sent garbage")));
    }

    QString path_;
    LegacySink& sink_;
    QByteArray buffer_;
    size_t columns_ = 0;
    std::vector<LegacyValue> values_;
    bool done_ = false;
};

QString signalName(int signal) {
    return QString::fromLocal8Bit(::strsignal(signal));
}

} // namespace

void readLegacyFile(const QString& path, LegacySink& sink, const ReadLimits& limits) {
    checkSignature(path);
    const QByteArray file = QFile::encodeName(path);
    int data[2], messages[2];
    if (::pipe2(data, O_CLOEXEC) != 0)
        throw ToolError(QStringLiteral("Cannot start reading %1").arg(path));
    if (::pipe2(messages, O_CLOEXEC) != 0) {
        ::close(data[0]);
        ::close(data[1]);
        throw ToolError(QStringLiteral("Cannot start reading %1").arg(path));
    }
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        // libmdb reports problems on stderr (some on stdout): both go to the parent.
        ::dup2(messages[1], STDERR_FILENO);
        ::dup2(messages[1], STDOUT_FILENO);
        ::close(data[0]);
        ::close(messages[0]);
        _exit(readJetTablesInto(file.constData(), data[1]));
    }
    ::close(data[1]);
    ::close(messages[1]);
    if (pid < 0) {
        ::close(data[0]);
        ::close(messages[0]);
        throw ToolError(QStringLiteral("Cannot start reading %1").arg(path));
    }
    Child child(pid, data[0], messages[0]);
    FrameDecoder decoder(path, sink);
    QByteArray complaints;
    char chunk[64 * 1024];
    // Only rows count as progress: libmdb caught in a loop may well keep printing warnings.
    QElapsedTimer sinceProgress;
    sinceProgress.start();
    while (child.data_ >= 0) {
        pollfd fds[2] = {{child.data_, POLLIN, 0}, {child.messages_, POLLIN, 0}};
        const qint64 left = limits.stallMilliseconds - sinceProgress.elapsed();
        const int ready = left <= 0 ? 0 : ::poll(fds, child.messages_ >= 0 ? 2 : 1, int(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            throw ToolError(QStringLiteral("Cannot follow the reading of %1").arg(path));
        if (ready == 0)
            throw ToolError(damaged(
                path, QStringLiteral("reading it stopped making progress for %1 s, as libmdb "
                                     "does on a damaged file")
                          .arg(limits.stallMilliseconds / 1000.0)));
        if (child.messages_ >= 0 && fds[1].revents) {
            const ssize_t n = ::read(child.messages_, chunk, sizeof chunk);
            if (n > 0 && complaints.size() < 16 * 1024)
                complaints.append(chunk, n);
            else if (n == 0)
                Child::closeFd(child.messages_);
        }
        if (fds[0].revents) {
            const ssize_t n = ::read(child.data_, chunk, sizeof chunk);
            if (n > 0) {
                sinceProgress.restart();
                decoder.feed(chunk, size_t(n));
            } else if (n == 0)
                Child::closeFd(child.data_);
        }
    }
    const int status = child.finish(limits.stallMilliseconds);
    while (child.messages_ >= 0) { // what libmdb said last
        const ssize_t n = ::read(child.messages_, chunk, sizeof chunk);
        if (n <= 0)
            break;
        complaints.append(chunk, n);
    }
    // The first few lines say enough; a damaged file can make libmdb repeat itself at length.
    QStringList lines = QString::fromLocal8Bit(complaints).trimmed().split(QLatin1Char('\n'));
    if (lines.size() > 6)
        lines = lines.mid(0, 6) << QStringLiteral("…");
    const QString said = lines.join(QStringLiteral("\n")).trimmed();
    if (WIFSIGNALED(status))
        throw ToolError(damaged(
            path, QStringLiteral("the reader crashed (%1)%2; the file is damaged")
                      .arg(signalName(WTERMSIG(status)),
                           said.isEmpty() ? QString() : QStringLiteral(": libmdb said: ") + said)));
    if (!decoder.done())
        throw ToolError(damaged(
            path, QStringLiteral("the reader stopped early%1; the file is damaged")
                      .arg(said.isEmpty() ? QString() : QStringLiteral(": libmdb said: ") + said)));
    if (!said.isEmpty())
        throw ToolError(damaged(
            path, QStringLiteral("libmdb reported problems while reading it: %1").arg(said)));
}

} // namespace kavelon::dbtool
