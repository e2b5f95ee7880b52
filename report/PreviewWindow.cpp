#include "report/PreviewWindow.h"

#include "app/Guard.h"
#include "app/Messages.h"
#include "report/PageFile.h"
#include "report/PageView.h"
#include "report/PdfFile.h"
#include "report/Report.h"
#include "report/ReportRun.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <cmath>

namespace kavelon::report {

PreviewWindow::PreviewWindow(Report& report, QWidget* owner)
    : QMainWindow(owner, Qt::Window), report_(report) {
    setObjectName(QStringLiteral("PreviewWindow"));
    const QString& title = report.definition().title;
    setWindowTitle(title.isEmpty() ? QStringLiteral("Print Preview") : title);
    resize(652, 579);
    if (const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(652 / 2, 579 / 2));

    toolBar_ = addToolBar(QStringLiteral("ToolBar"));
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    toolBar_->toggleViewAction()->setVisible(false);

    toolBar_->addSeparator();
    zoomFit_ = addButton(toolBar_, QStringLiteral("ZoomToFit"), QStringLiteral("Zoom to fit"),
                         previewIcon(PreviewIcon::ZoomFit), &PreviewWindow::ZoomToFitClick);
    zoom100_ = addButton(toolBar_, QStringLiteral("Zoom100"), QStringLiteral("100%"),
                         previewIcon(PreviewIcon::Zoom100), &PreviewWindow::Zoom100Click);
    zoomWidth_ = addButton(toolBar_, QStringLiteral("ZoomToWidth"), QStringLiteral("Zoom to width"),
                           previewIcon(PreviewIcon::ZoomWidth), &PreviewWindow::ZoomToWidthClick);
    auto* zoomGroup = new QActionGroup(this);
    for (QAction* a : {zoomFit_, zoom100_, zoomWidth_}) {
        a->setCheckable(true);
        zoomGroup->addAction(a);
    }
    zoomWidth_->setChecked(true);
    toolBar_->addSeparator();
    addButton(toolBar_, QStringLiteral("FirstPage"), QStringLiteral("First page"),
              previewIcon(PreviewIcon::First), &PreviewWindow::FirstPageClick);
    addButton(toolBar_, QStringLiteral("PrevPage"), QStringLiteral("Previous page"),
              previewIcon(PreviewIcon::Previous), &PreviewWindow::PrevPageClick);
    addButton(toolBar_, QStringLiteral("NextPage"), QStringLiteral("Next page"),
              previewIcon(PreviewIcon::Next), &PreviewWindow::NextPageClick);
    addButton(toolBar_, QStringLiteral("LastPage"), QStringLiteral("Last page"),
              previewIcon(PreviewIcon::Last), &PreviewWindow::LastPageClick);
    toolBar_->addSeparator();
    printerSetup_ =
        addButton(toolBar_, QStringLiteral("PrinterSetup"), QStringLiteral("Printer setup"),
                  previewIcon(PreviewIcon::Setup), &PreviewWindow::PrinterSetupClick);
    print_ = addButton(toolBar_, QStringLiteral("Print"), QStringLiteral("Print"),
                       previewIcon(PreviewIcon::Print), &PreviewWindow::PrintClick);
    printerSetup_->setEnabled(false);
    print_->setEnabled(false);
    toolBar_->addSeparator();
    addButton(toolBar_, QStringLiteral("SaveReport"), QStringLiteral("Save Report"),
              previewIcon(PreviewIcon::Save), &PreviewWindow::SaveReportClick);
    addButton(toolBar_, QStringLiteral("LoadReport"), QStringLiteral("Load Report"),
              previewIcon(PreviewIcon::Load), &PreviewWindow::LoadReportClick);
    addButton(toolBar_, QStringLiteral("SavePdf"), QStringLiteral("Save as PDF"),
              previewIcon(PreviewIcon::Pdf), &PreviewWindow::SavePdfClick);
    toolBar_->addSeparator();
    QAction* close = toolBar_->addAction(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("Close"));
    // A tool button shows an action's text with its "&" escaped; an icon text of its own keeps
    // the mnemonic, so that Alt+C closes the window.
    close->setIconText(close->text());
    if (auto* button = qobject_cast<QToolButton*>(toolBar_->widgetForAction(close)))
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(close, &QAction::triggered, this, [this] { this->close(); });

    area_ = new QScrollArea(this);
    area_->setObjectName(QStringLiteral("PageArea"));
    area_->setAlignment(Qt::AlignCenter);
    area_->setBackgroundRole(QPalette::Dark);
    view_ = new PageView;
    area_->setWidget(view_);
    area_->viewport()->installEventFilter(this);
    setCentralWidget(area_);

    progressPanel_ = new QLabel(QStringLiteral("0%"));
    progressPanel_->setObjectName(QStringLiteral("ProgressPanel"));
    progressPanel_->setFixedWidth(40);
    progressPanel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    counterPanel_ = new QLabel;
    counterPanel_->setObjectName(QStringLiteral("CounterPanel"));
    statusBar()->addWidget(progressPanel_);
    statusBar()->addWidget(counterPanel_, 1);
    statusBar()->setSizeGripEnabled(true);

    qApp->installEventFilter(this);
    if (owner)
        owner->installEventFilter(this); // closing the owner closes the preview first
    updateCounter();
}

PreviewWindow::~PreviewWindow() {
    qApp->removeEventFilter(this);
}

QAction* PreviewWindow::addButton(QToolBar* bar, const QString& name, const QString& hint,
                                  const QIcon& icon, void (PreviewWindow::*handler)()) {
    QAction* a = bar->addAction(icon, hint);
    a->setObjectName(name);
    a->setToolTip(hint);
    if (QWidget* w = bar->widgetForAction(a))
        w->setObjectName(name + QStringLiteral("Button"));
    connect(a, &QAction::triggered, this, guarded(this, handler));
    return a;
}

void PreviewWindow::showRunPages(const PageSet* pages) {
    pages_ = pages;
    made_ = 0;
    page_ = 0;
    updateCounter();
}

void PreviewWindow::pageMade(int pagesMade) {
    made_ = pagesMade;
    if (page_ == 0) {
        page_ = 1; // page 1 shows as soon as it is made, at the zoom of the mode
        applyZoomMode();
        updateSheet();
        updateCounter();
        emit firstPageShown();
        return;
    }
    updateCounter();
}

void PreviewWindow::setProgress(int percent) {
    const QString text = QString::number(percent) + u'%';
    if (progressPanel_->text() != text)
        progressPanel_->setText(text);
}

void PreviewWindow::runFinished(PageSet pages) {
    own_ = std::move(pages);
    pages_ = &own_;
    made_ = static_cast<int>(own_.pages.size());
    finished_ = true;
    printerSetup_->setEnabled(true);
    print_->setEnabled(true);
    setProgress(100);
    if (page_ == 0)
        page_ = 1;
    applyZoomMode();
    updateSheet();
    updateCounter();
}

QSizeF PreviewWindow::pageSizeAt100() const {
    const PageSet* p = pages_;
    const double width = p ? p->width : 21000, height = p ? p->height : 29700;
    const double dpi = screenDotsPerInch();
    return {width / 2540.0 * dpi, height / 2540.0 * dpi};
}

void PreviewWindow::setZoom(int percent) {
    if (percent < 2 || percent > 2000)
        return;
    zoom_ = percent;
    updateSheet();
}

void PreviewWindow::setPage(int page) {
    if (page < 1 || page > made_)
        return;
    page_ = page;
    updateSheet();
    updateCounter();
}

void PreviewWindow::applyZoomMode() {
    const QSize area = area_->viewport()->size();
    const QSizeF page = pageSizeAt100();
    if (mode_ == ZoomMode::Width)
        setZoom(static_cast<int>(std::lround(90.0 * area.width() / page.width())));
    else if (mode_ == ZoomMode::Fit)
        setZoom(static_cast<int>(std::min(std::lround(95.0 * area.width() / page.width()),
                                          std::lround(95.0 * area.height() / page.height()))));
    else
        setZoom(100);
}

void PreviewWindow::updateSheet() {
    view_->show(page_ >= 1 ? pages_ : nullptr, page_ - 1, zoom_);
    area_->horizontalScrollBar()->setValue(0);
    area_->verticalScrollBar()->setValue(0);
}

void PreviewWindow::updateCounter() {
    counterPanel_->setText(QStringLiteral("Page %1 of %2").arg(page_).arg(made_));
}

void PreviewWindow::ZoomToFitClick() {
    mode_ = ZoomMode::Fit;
    zoomFit_->setChecked(true);
    applyZoomMode();
}

void PreviewWindow::Zoom100Click() {
    mode_ = ZoomMode::Percent;
    zoom100_->setChecked(true);
    applyZoomMode();
}

void PreviewWindow::ZoomToWidthClick() {
    mode_ = ZoomMode::Width;
    zoomWidth_->setChecked(true);
    applyZoomMode();
}

void PreviewWindow::FirstPageClick() {
    setPage(1);
}
void PreviewWindow::PrevPageClick() {
    setPage(page_ - 1);
}
void PreviewWindow::NextPageClick() {
    setPage(page_ + 1);
}
void PreviewWindow::LastPageClick() {
    setPage(made_);
}

void PreviewWindow::PrinterSetupClick() {
    report_.printerSetup(made_);
}

void PreviewWindow::PrintClick() {
    if (loaded_)
        report_.printPages(own_);
    else if (finished_)
        report_.Print();
}

QString PreviewWindow::fileToSave(const QString& caption, const QString& filter,
                                  const QString& extension) {
    QString name = messages().saveFileName(caption, filter);
    if (name.isEmpty() || !finished_)
        return {}; // before the run has made its last page nothing is written
    if (QFileInfo(name).suffix().isEmpty())
        name += u'.' + extension;
    return name;
}

void PreviewWindow::SaveReportClick() {
    const QString name = fileToSave(QStringLiteral("Save report"), pageFileFilter(),
                                    QLatin1String(pageFileExtension));
    if (!name.isEmpty())
        savePageFile(name, own_);
}

void PreviewWindow::SavePdfClick() {
    const QString name =
        fileToSave(QStringLiteral("Save as PDF"), pdfFileFilter(), QStringLiteral("pdf"));
    if (!name.isEmpty())
        savePdfFile(name, own_, report_.definition().title);
}

void PreviewWindow::LoadReportClick() {
    const QString name = messages().openFileName(QStringLiteral("Load report"), pageFileFilter());
    if (name.isEmpty())
        return;
    if (!QFile::exists(name)) {
        messages().messageBox(QStringLiteral("File does not exist"));
        return;
    }
    PageSet loaded = loadPageFile(name); // throws, changing nothing, when the file is not sound
    runAbandoned_ = !finished_;          // a run still making pages stops: its pages are replaced
    own_ = std::move(loaded);
    pages_ = &own_;
    made_ = static_cast<int>(own_.pages.size());
    finished_ = true;
    loaded_ = true;
    page_ = 1;
    printerSetup_->setEnabled(false);
    print_->setEnabled(true);
    applyZoomMode();
    updateSheet();
    updateCounter();
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
    closed_ = true;
    event->accept();
    emit closed();
}

bool PreviewWindow::handleKey(QKeyEvent* key) {
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    switch (key->key()) {
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_PageUp:
        ctrl ? FirstPageClick() : PrevPageClick();
        return true;
    case Qt::Key_PageDown:
        ctrl ? LastPageClick() : NextPageClick();
        return true;
    case Qt::Key_Home:
        FirstPageClick();
        return true;
    case Qt::Key_End:
        LastPageClick();
        return true;
    default:
        return false;
    }
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
    // The owner hidden (closed, not minimised): the preview goes first, so ShowPreview returns.
    if (watched == parent() && event->type() == QEvent::Hide && !parentWidget()->isVisible() &&
        !closed_)
        close();
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        bool handled = false;
        guard([&] { handled = handleKey(static_cast<QKeyEvent*>(event)); });
        return handled;
    }
    if (watched == area_->viewport() && event->type() == QEvent::Resize && page_ >= 1 &&
        mode_ != ZoomMode::Percent)
        guard([&] { applyZoomMode(); });
    return QMainWindow::eventFilter(watched, event);
}

} // namespace kavelon::report
