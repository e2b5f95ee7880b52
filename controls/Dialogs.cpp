// The production print and file dialogs of the message seam.
#include "controls/Messages.h"

#include <QApplication>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace kavelon {

bool MessageSeam::printDialog(QPrinter& printer, int minPage, int maxPage) {
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(minPage, std::max(minPage, maxPage));
    return dialog.exec() == QDialog::Accepted;
}

QString MessageSeam::openFileName(const QString& caption, const QString& filter) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, QString(), filter);
}

QString MessageSeam::saveFileName(const QString& caption, const QString& filter) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, QString(), filter);
}

} // namespace kavelon
