#pragma once
// A CUPS print server of the test's own: its own configuration, spool, logs and a private socket
// in a temporary folder, with one cups-pdf queue "PDF" whose files land in a folder of the test.
// The test process is pointed at it (CUPS_SERVER) for the object's lifetime; the server stops
// with the object. Nothing of the machine's print server or printers is used or changed.
//
// cups-pdf reads its settings from a fixed /etc/cups/cups-pdf.conf and must run as root, so the
// server runs as root in a mount namespace of its own in which that file is the test's. Where no
// such namespace can be made, the queue is a cups-pdf instance whose settings file, named after
// this process, lives beside the fixed one for the server's lifetime.

#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace kavelon::test {

// Points this process's CUPS clients, Qt's print support among them, at a server (a socket path
// or host) for the object's lifetime.
class UsePrintServer {
public:
    explicit UsePrintServer(const QString& server);
    ~UsePrintServer();
    UsePrintServer(const UsePrintServer&) = delete;
    UsePrintServer& operator=(const UsePrintServer&) = delete;

private:
    QByteArray previous_;
    bool hadOne_;
};

class PrintServer {
public:
    PrintServer();
    ~PrintServer();
    PrintServer(const PrintServer&) = delete;
    PrintServer& operator=(const PrintServer&) = delete;

    // Empty when the server runs with its queue; otherwise why it cannot here.
    QString whyNotReady() const { return notReady_; }
    // The socket clients reach the server at (the value of CUPS_SERVER).
    QString socket() const;
    // Where cups-pdf writes each job.
    QDir output() const;

    // Runs a CUPS client program against this server; its exit code (-1 when it did not finish),
    // with its output in *out.
    int client(const QString& program, QStringList arguments, QString* out = nullptr) const;
    // The page log's lines, one per job: "job-id copies".
    QStringList pageLog() const;
    // The first PDF in output() that is complete (poppler reads its pages), waiting while the
    // queue still has jobs; empty when none came.
    QString waitForPdf() const;

private:
    QString start();
    QString path(const QString& relative) const;
    bool writeFile(const QString& relative, const QByteArray& text) const;
    bool answers() const;

    QTemporaryDir root_;
    std::unique_ptr<QProcess> cupsd_;
    QString notReady_;
    QString instanceSettings_; // the cups-pdf instance's settings file, where one is needed
    std::unique_ptr<UsePrintServer> use_;
};

} // namespace kavelon::test
