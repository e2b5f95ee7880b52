#pragma once
// "Printing progress": a small always-on-top window with a bar and "Cancel" while a run goes to
// the printer.

#include <QDialog>

class QProgressBar;

namespace kavelon::report {

class PrintProgress : public QDialog {
    Q_OBJECT
public:
    explicit PrintProgress(QWidget* parent = nullptr);
    void setPercent(int percent);
    bool cancelled() const { return cancelled_; }

protected:
    void reject() override; // Esc and the close box cancel as "Cancel" does

private:
    QProgressBar* bar_;
    bool cancelled_ = false;
};

} // namespace kavelon::report
