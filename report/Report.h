#pragma once
// A report (Report1 of TForm4): its definition, the cursor its detail band is bound to and the
// printer settings it keeps until the program ends. ShowPreview runs it into a preview window;
// "Print" in that window runs it again straight to the printer.

#include "report/Pages.h"
#include "report/ReportDefinition.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QPrinter;

namespace kavelon {
class TableCursor;
}

namespace kavelon::report {

class PreviewWindow;

class Report : public QObject {
    Q_OBJECT
public:
    Report(const QString& name, ReportDefinition definition, QObject* parent = nullptr);
    ~Report() override;

    const ReportDefinition& definition() const { return definition_; }
    ReportDefinition& definition() { return definition_; }
    // The cursor of the detail band.
    void setDataSet(TableCursor* cursor) { cursor_ = cursor; }
    TableCursor* dataSet() const { return cursor_; }

    PrinterSettings& printerSettings() { return settings_; }
    const PrinterSettings& printerSettings() const { return settings_; }
    // The printer the report prints on: the one chosen in "Printer setup", else the system's
    // default (or its first printer); empty when the system has none.
    QString printerName() const;

    // Opens the preview, runs the report into it and returns when the preview has closed. The
    // cursor is re-read first, so the report lists the journal as it stands now. While a preview
    // is open, a second call brings it to the front and returns.
    void ShowPreview();
    // The open preview, if any; closing it ends ShowPreview.
    PreviewWindow* preview() const;
    void closePreview();

    // "Printer setup": the set-up dialog preset with the report's printer settings, offering the
    // pages 1 … pagesMade; OK keeps the choice for every later run. Throws when the system has
    // no printer.
    void printerSetup(int pagesMade);
    // "Print": a new run straight to the report's printer over the cursor's rows as they stand
    // (not re-read), with the "Printing progress" window. Does nothing without a printer.
    void Print();
    // The same onto a printer set up by the caller (a PDF file in tests).
    void printTo(QPrinter& printer);
    // Loaded pages, each scaled to the printer's printable area.
    void printPages(const PageSet& pages);
    void printPagesTo(QPrinter& printer, const PageSet& pages);
    // Sets the printer from the report's settings (printer, copies, duplex, orientation, range).
    void applySettings(QPrinter& printer) const;

signals:
    // A run has started making pages, for the benchmark and tests.
    void previewOpened(PreviewWindow* window);

private:
    ReportDefinition definition_;
    TableCursor* cursor_ = nullptr;
    PrinterSettings settings_;
    QPointer<PreviewWindow> preview_;
};

} // namespace kavelon::report
