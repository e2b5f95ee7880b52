#pragma once
// The "Print Preview" window: a toolbar, one page at a time on a white sheet, and a status bar
// with the progress and the page counter. Not modal; Report::ShowPreview runs the report into it
// and waits for it to close.

#include "report/Pages.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QScrollArea;
class QToolBar;

namespace kavelon::report {

class Report;
class PageView;

class PreviewWindow : public QMainWindow {
    Q_OBJECT
public:
    enum class ZoomMode { Fit, Percent, Width };

    PreviewWindow(Report& report, QWidget* owner);
    ~PreviewWindow() override;

    // Pages as the run makes them: pages holds made pages and the one being made.
    void showRunPages(const PageSet* pages);
    void pageMade(int pagesMade);
    void setProgress(int percent);
    // The run has made its last page: the window keeps the pages.
    void runFinished(PageSet pages);
    // True once closed (the run stops; ShowPreview returns).
    bool isClosed() const { return closed_; }
    // True while a run should stop because other pages replaced it.
    bool runAbandoned() const { return runAbandoned_; }

    const PageSet* pages() const { return pages_; }
    int pageNumber() const { return page_; }
    int pagesMade() const { return made_; }
    int zoom() const { return zoom_; }
    ZoomMode zoomMode() const { return mode_; }
    QScrollArea* pageArea() const { return area_; }

    // The toolbar's handlers.
    void ZoomToFitClick();
    void Zoom100Click();
    void ZoomToWidthClick();
    void FirstPageClick();
    void PrevPageClick();
    void NextPageClick();
    void LastPageClick();
    void PrinterSetupClick();
    void PrintClick();
    void SaveReportClick();
    void LoadReportClick();
    // Keeps the pages as a PDF file whose text can be searched, to file or to mail.
    void SavePdfClick();

    void setZoom(int percent);
    void setPage(int page);
    // The page's size in pixels at 100 %.
    QSizeF pageSizeAt100() const;

signals:
    void closed();
    // Page 1 of a run is on the sheet.
    void firstPageShown();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addButton(QToolBar* bar, const QString& name, const QString& hint, const QIcon& icon,
                       void (PreviewWindow::*handler)());
    // The file chosen in a save dialog, with the extension added when it has none; empty when
    // cancelled or while the run is still making pages.
    QString fileToSave(const QString& caption, const QString& filter, const QString& extension);
    void applyZoomMode();
    void updateCounter();
    void updateSheet();
    bool handleKey(QKeyEvent* key);

    Report& report_;
    const PageSet* pages_ = nullptr;
    PageSet own_;
    bool finished_ = false;
    bool loaded_ = false;
    bool closed_ = false;
    bool runAbandoned_ = false;
    int made_ = 0;
    int page_ = 0;
    int zoom_ = 100;
    ZoomMode mode_ = ZoomMode::Width;

    QToolBar* toolBar_ = nullptr;
    QAction* zoomFit_ = nullptr;
    QAction* zoom100_ = nullptr;
    QAction* zoomWidth_ = nullptr;
    QAction* printerSetup_ = nullptr;
    QAction* print_ = nullptr;
    QScrollArea* area_ = nullptr;
    PageView* view_ = nullptr;
    QLabel* progressPanel_ = nullptr;
    QLabel* counterPanel_ = nullptr;
};

} // namespace kavelon::report
