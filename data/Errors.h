#pragma once
// The one family of errors of the program. Every failure that reaches the user's error box is
// one of these; the fatal box names the class of the error that stopped the start-up.

#include <QByteArray>
#include <QString>
#include <exception>

namespace kavelon {

class Error : public std::exception {
public:
    explicit Error(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }
    // The name shown by the fatal error box.
    virtual const char* className() const noexcept { return "Error"; }

private:
    QString message_;
    QByteArray utf8_;
};

#define KAVELON_ERROR_CLASS(Name, Base)                                                            \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
        const char* className() const noexcept override { return #Name; }                          \
    };

// A failure of a cursor or of the engine below it (the message is complete, prefix included).
KAVELON_ERROR_CLASS(DatabaseError, Error)
// The file is held by another program for longer than the engine waits: a passing failure, after
// which the rows a cursor holds are still good.
class DatabaseBusyError : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};
// The engine itself cannot be started: the one fatal database error of the start-up.
KAVELON_ERROR_CLASS(EngineUnavailableError, Error)
// Typed text that does not convert into a field's value.
KAVELON_ERROR_CLASS(ConversionError, Error)
// A resource of the program (a picture, a file it ships) is missing or cannot be decoded.
KAVELON_ERROR_CLASS(ResourceError, Error)

} // namespace kavelon
