#pragma once
// Takes turns between programs reading and writing one database file.
//
// SQLite's locks are not queued: a reader or writer that finds the file locked sleeps and looks
// again, and a program that posts row after row holds the lock nearly all the time, so the other
// one may look in vain until its busy timeout runs out. This program first takes a turn here
// (shared to read, exclusive to write), an exclusive flock on the folder that holds the file (a
// lock on the file itself would be dropped with SQLite's own locks the moment any descriptor of it
// closes). Between two writes of one program the turn is free, and another program waiting for it
// takes it then. Programs that do not know the turnstile just compete for SQLite's locks as before.

#include <QString>

namespace kavelon {

class WriteTurnstile {
public:
    enum Use { Reading, Writing };
    explicit WriteTurnstile(const QString& databasePath);
    ~WriteTurnstile();
    WriteTurnstile(const WriteTurnstile&) = delete;
    WriteTurnstile& operator=(const WriteTurnstile&) = delete;

    // Holds the turn for its lifetime. When the turn does not come within the wait (a program
    // stopped while it wrote), the write goes ahead without it and SQLite's locks decide.
    class Turn {
    public:
        Turn(WriteTurnstile& turnstile, int waitMilliseconds, Use use);
        ~Turn();
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;
        bool held() const { return held_; }

    private:
        int folder_;
        bool held_ = false;
    };

private:
    int folder_ = -1; // the folder, open for its lock; -1 when it cannot be opened
};

} // namespace kavelon
