// The production set-up and file dialogs of the message seam.
#include "app/Messages.h"
#include "app/PrinterSetupDialog.h"

#include <QApplication>
#include <QFileDialog>

namespace kavelon {

bool MessageSeam::printerSetup(PrinterSetup& setup) {
    PrinterSetupDialog dialog(setup, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    setup = dialog.choice();
    return true;
}

QString MessageSeam::openFileName(const QString& caption, const QString& filter) {
    // Qt's own dialog in "any file" mode: the platform's open dialogs refuse a typed name that
    // does not exist with a text of their own.
    QFileDialog dialog(QApplication::activeWindow(), caption, QString(), filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString MessageSeam::saveFileName(const QString& caption, const QString& filter) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, QString(), filter);
}

} // namespace kavelon
