#include "data/WriteTurnstile.h"

#include <QFileInfo>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace kavelon {

WriteTurnstile::WriteTurnstile(const QString& databasePath) {
    const QByteArray folder = QFileInfo(databasePath).absolutePath().toLocal8Bit();
    folder_ = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

WriteTurnstile::~WriteTurnstile() {
    if (folder_ >= 0)
        ::close(folder_);
}

WriteTurnstile::Turn::Turn(WriteTurnstile& turnstile, int waitMilliseconds, Use use)
    : folder_(turnstile.folder_) {
    if (folder_ < 0)
        return;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point giveUp = Clock::now() + std::chrono::milliseconds(waitMilliseconds);
    for (;;) {
        if (::flock(folder_, (use == Writing ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) {
            held_ = true;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            return; // a file system without flock: no turns
        if (Clock::now() >= giveUp)
            return;
        // The turn is free only between two writes of the other program: look often.
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
}

WriteTurnstile::Turn::~Turn() {
    if (held_)
        ::flock(folder_, LOCK_UN);
}

} // namespace kavelon
