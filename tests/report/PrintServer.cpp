#include "PrintServer.h"

#include "PdfText.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <dlfcn.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace kavelon::test {

namespace {

const QString cupsd = QStringLiteral("/usr/sbin/cupsd");
const QString backend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");
const QString backendSettings = QStringLiteral("/etc/cups/cups-pdf.conf");
const QString driver = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");

// libcups keeps the server it first found for the rest of the process; Qt's print support reaches
// it through the same library, so it is told directly as well as through the environment.
void tellLibcups(const QByteArray& server) {
    void* library = dlopen("libcups.so.2", RTLD_NOW);
    if (!library)
        return;
    using SetServer = void (*)(const char*);
    if (auto set = reinterpret_cast<SetServer>(dlsym(library, "cupsSetServer")))
        set(server.isEmpty() ? nullptr : server.constData());
    dlclose(library); // Qt's print support keeps the library loaded
}

// Whether this process may make a mount namespace with private mounts (not in a chroot whose
// root is no mount point).
bool privateMountsWork() {
    QProcess probe;
    probe.start(QStringLiteral("unshare"),
                {QStringLiteral("--mount"), QStringLiteral("--propagation"),
                 QStringLiteral("private"), QStringLiteral("true")});
    return probe.waitForFinished(30000) && probe.exitStatus() == QProcess::NormalExit &&
           probe.exitCode() == 0;
}

QString instanceName() {
    return QStringLiteral("kavelontest%1").arg(QCoreApplication::applicationPid());
}

} // namespace

UsePrintServer::UsePrintServer(const QString& server)
    : previous_(qgetenv("CUPS_SERVER")), hadOne_(qEnvironmentVariableIsSet("CUPS_SERVER")) {
    qputenv("CUPS_SERVER", server.toLocal8Bit());
    tellLibcups(server.toLocal8Bit());
}

UsePrintServer::~UsePrintServer() {
    if (hadOne_)
        qputenv("CUPS_SERVER", previous_);
    else
        qunsetenv("CUPS_SERVER");
    tellLibcups(previous_);
}

PrintServer::PrintServer() {
    notReady_ = start();
    if (notReady_.isEmpty())
        use_ = std::make_unique<UsePrintServer>(socket());
}

PrintServer::~PrintServer() {
    use_.reset();
    if (cupsd_ && cupsd_->state() != QProcess::NotRunning) {
        cupsd_->terminate(); // cupsd stops its jobs' filters and backends on SIGTERM
        if (!cupsd_->waitForFinished(30000)) {
            cupsd_->kill();
            cupsd_->waitForFinished(10000);
        }
    }
    if (!instanceSettings_.isEmpty())
        QFile::remove(instanceSettings_);
}

QString PrintServer::path(const QString& relative) const {
    return root_.filePath(relative);
}

QString PrintServer::socket() const {
    return path(QStringLiteral("cups.sock"));
}

QDir PrintServer::output() const {
    return QDir(path(QStringLiteral("out")));
}

bool PrintServer::writeFile(const QString& relative, const QByteArray& text) const {
    QFile file(path(relative));
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

int PrintServer::client(const QString& program, QStringList arguments, QString* out) const {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C")); // answers read in English
    p.setProcessEnvironment(environment);
    p.start(program, QStringList{QStringLiteral("-h"), socket()} + arguments);
    if (!p.waitForFinished(60000))
        return -1;
    if (out)
        *out = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

bool PrintServer::answers() const {
    QString out;
    return client(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &out) == 0 &&
           out.contains(QStringLiteral("scheduler is running"));
}

QString PrintServer::start() {
    if (geteuid() != 0)
        return QStringLiteral("the cups-pdf backend runs only under a print server started as "
                              "root, and these tests do not run as root");
    for (const QString& needed : {cupsd, backend, backendSettings, driver})
        if (!QFileInfo::exists(needed))
            return needed + QStringLiteral(" is missing (scripts/setup installs cups and "
                                           "printer-driver-cups-pdf)");
    if (!root_.isValid())
        return QStringLiteral("no temporary folder for the print server");
    // The filters run as the user lp and must reach the spool through the folder.
    QFile::setPermissions(root_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                            QFile::ExeOther);
    QDir dir(root_.path());
    for (const char* sub :
         {"etc", "spool", "spool/tmp", "cache", "state", "log", "out", "pdf-spool", "ssl"})
        if (!dir.mkpath(QLatin1String(sub)))
            return QStringLiteral("cannot make the print server's folders");

    const QByteArray root = root_.path().toLocal8Bit();
    const bool written =
        writeFile(QStringLiteral("etc/cupsd.conf"),
                  "Listen " + root +
                      "/cups.sock\n"
                      "LogLevel info\n"
                      "Browsing No\n"
                      "WebInterface No\n"
                      "PageLogFormat %j %{copies}\n"
                      "DefaultPolicy test\n"
                      "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                      "<Policy test>\n  JobPrivateAccess all\n  JobPrivateValues none\n"
                      "  SubscriptionPrivateAccess all\n  SubscriptionPrivateValues none\n"
                      "  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n") &&
        writeFile(QStringLiteral("etc/cups-files.conf"),
                  "ServerRoot " + root +
                      "/etc\n"
                      "RequestRoot " +
                      root +
                      "/spool\n"
                      "TempDir " +
                      root +
                      "/spool/tmp\n"
                      "CacheDir " +
                      root +
                      "/cache\n"
                      "StateDir " +
                      root +
                      "/state\n"
                      "ServerKeychain " +
                      root +
                      "/ssl\n"
                      "Printcap " +
                      root +
                      "/printcap\n"
                      "AccessLog " +
                      root +
                      "/log/access_log\n"
                      "ErrorLog " +
                      root +
                      "/log/error_log\n"
                      "PageLog " +
                      root +
                      "/log/page_log\n"
                      "ServerBin /usr/lib/cups\n"
                      "DataDir /usr/share/cups\n"
                      "User lp\nGroup lp\nSystemGroup root\nFileDevice No\n") &&
        writeFile(QStringLiteral("cups-pdf.conf"), "Out " + root +
                                                       "/out\n"
                                                       "Spool " +
                                                       root +
                                                       "/pdf-spool\n"
                                                       "Log " +
                                                       root +
                                                       "/log\n"
                                                       "Grp root\n");
    if (!written)
        return QStringLiteral("cannot write the print server's configuration");

    cupsd_ = std::make_unique<QProcess>();
    cupsd_->setProcessChannelMode(QProcess::MergedChannels);
    cupsd_->setChildProcessModifier([] {
        prctl(PR_SET_PDEATHSIG, SIGTERM); // the server goes with the test, even when it crashes
    });
    const QStringList server{QStringLiteral("-f"), QStringLiteral("-c"),
                             path(QStringLiteral("etc/cupsd.conf")), QStringLiteral("-s"),
                             path(QStringLiteral("etc/cups-files.conf"))};
    if (privateMountsWork()) {
        cupsd_->start(QStringLiteral("unshare"),
                      QStringList{QStringLiteral("--mount"), QStringLiteral("--propagation"),
                                  QStringLiteral("private"), QStringLiteral("sh"),
                                  QStringLiteral("-c"),
                                  QStringLiteral("mount --bind \"$1\" \"$2\" && shift 2 && exec "
                                                 "\"$@\""),
                                  QStringLiteral("sh"), path(QStringLiteral("cups-pdf.conf")),
                                  backendSettings, cupsd} +
                          server);
    } else {
        // No mount namespace of our own here (a chroot whose root is no mount point): cups-pdf
        // reads the settings of a named instance from a file of that name beside its own, so
        // the queue is such an instance, and its file goes with the server.
        instanceSettings_ = QStringLiteral("/etc/cups/cups-pdf-%1.conf").arg(instanceName());
        QFile::remove(instanceSettings_);
        if (!QFile::copy(path(QStringLiteral("cups-pdf.conf")), instanceSettings_))
            return QStringLiteral("cannot write ") + instanceSettings_;
        cupsd_->start(cupsd, server);
    }
    if (!cupsd_->waitForStarted(30000))
        return QStringLiteral("unshare cannot be started: ") + cupsd_->errorString();

    const QDeadlineTimer deadline(60000);
    while (!(QFileInfo::exists(socket()) && answers())) {
        if (cupsd_->state() == QProcess::NotRunning)
            return QStringLiteral("the print server stopped at once: ") +
                   QString::fromLocal8Bit(cupsd_->readAll()).trimmed();
        if (deadline.hasExpired())
            return QStringLiteral("the print server does not answer on its socket");
        QThread::msleep(20);
    }
    QString out;
    if (client(QStringLiteral("lpadmin"),
               {QStringLiteral("-p"), QStringLiteral("PDF"), QStringLiteral("-v"),
                QStringLiteral("cups-pdf:/") +
                    (instanceSettings_.isEmpty() ? QString() : instanceName()),
                QStringLiteral("-E"), QStringLiteral("-P"), driver},
               &out) != 0 ||
        client(QStringLiteral("lpadmin"), {QStringLiteral("-d"), QStringLiteral("PDF")}, &out) != 0)
        return QStringLiteral("the queue PDF cannot be added: ") + out.trimmed();
    return {};
}

QStringList PrintServer::pageLog() const {
    QFile file(path(QStringLiteral("log/page_log")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

QString PrintServer::waitForPdf() const {
    const QDeadlineTimer deadline(120000);
    while (!deadline.hasExpired() && cupsd_ && cupsd_->state() == QProcess::Running) {
        QString pending;
        // lpstat -o lists the jobs not yet completed; the file is whole once its job is.
        if (client(QStringLiteral("lpstat"), {QStringLiteral("-o")}, &pending) == 0 &&
            pending.trimmed().isEmpty()) {
            for (const QFileInfo& file :
                 output().entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name))
                if (pdfPages(file.filePath()) > 0)
                    return file.filePath();
            return {}; // the job ended without a file
        }
        QThread::msleep(50);
    }
    return {};
}

} // namespace kavelon::test
