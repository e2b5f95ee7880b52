#include "report/Report.h"

#include "app/Messages.h"
#include "data/Errors.h"
#include "data/TableCursor.h"
#include "report/PageRenderer.h"
#include "report/PreviewWindow.h"
#include "report/PrintProgress.h"
#include "report/ReportRun.h"

#include <QApplication>
#include <QEventLoop>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

namespace kavelon::report {

namespace {

QWidget* activeOwner() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

int percentOf(int done, int rows) {
    return rows > 0 ? static_cast<int>(qint64(done) * 100 / rows) : 0;
}

// Deletes the preview however ShowPreview is left (closing, an error, the end of the wait).
struct PreviewOwner {
    QPointer<PreviewWindow> window;
    ~PreviewOwner() { delete window.data(); }
};

} // namespace

Report::Report(const QString& name, ReportDefinition definition, QObject* parent)
    : QObject(parent), definition_(std::move(definition)) {
    setObjectName(name);
}

Report::~Report() {
    delete preview_.data();
}

QString Report::printerName() const {
    if (!settings_.printerName.isEmpty())
        return settings_.printerName;
    const QString byDefault = QPrinterInfo::defaultPrinterName();
    if (!byDefault.isEmpty())
        return byDefault;
    const QStringList all = QPrinterInfo::availablePrinterNames();
    return all.isEmpty() ? QString() : all.first();
}

void Report::ShowPreview() {
    if (preview_) {
        preview_->show();
        preview_->raise();
        preview_->activateWindow();
        return;
    }
    // The report lists the journal as it stands when it is asked for, not as it was at start-up.
    if (cursor_ && cursor_->Active())
        cursor_->Requery();

    PreviewOwner owner{new PreviewWindow(*this, activeOwner())};
    QPointer<PreviewWindow>& window = owner.window;
    preview_ = window;
    window->showMaximized();
    emit previewOpened(window);

    ReportRun run(definition_, settings_.orientation, cursor_);
    window->showRunPages(&run.pages());
    run.beforeRow = [&](int done, int rows) {
        if (window)
            window->setProgress(percentOf(done, rows));
        QCoreApplication::processEvents();
        if (!window || window->isClosed() || window->runAbandoned())
            return ReportRun::Stop::DropPage;
        return ReportRun::Stop::No;
    };
    run.pageMade = [&](int page) {
        if (window && !window->runAbandoned())
            window->pageMade(page);
    };
    const bool complete = run.run();
    if (!window || window->isClosed())
        return;
    if (complete && !window->runAbandoned())
        window->runFinished(run.takePages());
    QEventLoop wait;
    connect(window, &PreviewWindow::closed, &wait, &QEventLoop::quit);
    connect(window, &QObject::destroyed, &wait, &QEventLoop::quit);
    wait.exec();
}

PreviewWindow* Report::preview() const {
    return preview_;
}

void Report::closePreview() {
    if (preview_)
        preview_->close();
}

void Report::applySettings(QPrinter& printer) const {
    printer.setCopyCount(settings_.copies);
    printer.setDuplex(settings_.duplex ? QPrinter::DuplexAuto : QPrinter::DuplexNone);
    printer.setPaperSource(QPrinter::Auto);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(settings_.orientation == Orientation::Landscape
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
}

void Report::printerSetup(int pagesMade) {
    const QString name = printerName();
    if (name.isEmpty())
        throw Error(QStringLiteral("There is no default printer currently selected"));
    PrinterSetup setup;
    setup.printers = QPrinterInfo::availablePrinterNames();
    setup.printer = name;
    setup.landscape = settings_.orientation == Orientation::Landscape;
    setup.copies = settings_.copies;
    setup.minPage = 1;
    setup.maxPage = std::max(1, pagesMade);
    if (settings_.fromPage > 0) {
        setup.fromPage = std::min(settings_.fromPage, setup.maxPage);
        setup.toPage = std::clamp(settings_.toPage, setup.fromPage, setup.maxPage);
    }
    if (!messages().printerSetup(setup))
        return;
    if (!setup.printer.isEmpty())
        settings_.printerName = setup.printer;
    settings_.copies = std::max(1, setup.copies);
    settings_.orientation = setup.landscape ? Orientation::Landscape : Orientation::Portrait;
    if (setup.fromPage > 0) {
        settings_.fromPage = setup.fromPage;
        settings_.toPage = std::max(setup.fromPage, setup.toPage);
    } else {
        settings_.fromPage = settings_.toPage = 0;
    }
}

void Report::Print() {
    const QString name = printerName();
    if (name.isEmpty())
        return; // no printer on the system: nothing to print on
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(name);
    printTo(printer);
}

void Report::printTo(QPrinter& printer) {
    applySettings(printer);
    printer.setFullPage(true); // positions from the sheet's physical edge
    PrintProgress progress(activeOwner());
    if (definition_.showProgress)
        progress.show();

    ReportRun run(definition_, settings_.orientation, cursor_);
    QPainter painter;
    const double pixelsPerMillimetre = printer.resolution() / 25.4;
    run.beforeRow = [&](int done, int rows) {
        progress.setPercent(percentOf(done, rows));
        QCoreApplication::processEvents();
        return progress.cancelled() ? ReportRun::Stop::EndPage : ReportRun::Stop::No;
    };
    run.pageMade = [&](int page) {
        if (!settings_.pageInRange(page))
            return; // made, but not sent
        if (!painter.isActive()) {
            if (!painter.begin(&printer))
                throw Error(QStringLiteral("Printing on %1 failed").arg(printer.printerName()));
        } else {
            printer.newPage();
        }
        drawPage(painter, run.pages(), run.pages().pages[page - 1], pixelsPerMillimetre);
    };
    run.run();
    if (painter.isActive())
        painter.end();
}

void Report::printPages(const PageSet& pages) {
    const QString name = printerName();
    if (name.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(name);
    printPagesTo(printer, pages);
}

void Report::printPagesTo(QPrinter& printer, const PageSet& pages) {
    applySettings(printer);
    printer.setFullPage(false); // each page scaled into the printable area
    const QRectF area = printer.pageRect(QPrinter::DevicePixel);
    const double pixelsPerMillimetre =
        std::min(area.width() / (pages.width / 100.0), area.height() / (pages.height / 100.0));
    QPainter painter;
    for (std::size_t n = 0; n < pages.pages.size(); ++n) {
        if (!settings_.pageInRange(static_cast<int>(n) + 1))
            continue;
        if (!painter.isActive()) {
            if (!painter.begin(&printer))
                throw Error(QStringLiteral("Printing on %1 failed").arg(printer.printerName()));
        } else {
            printer.newPage();
        }
        drawPage(painter, pages, pages.pages[n], pixelsPerMillimetre);
    }
    if (painter.isActive())
        painter.end();
}

} // namespace kavelon::report
