#include "report/PrintProgress.h"

#include <QGuiApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace kavelon::report {

PrintProgress::PrintProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("PrintProgress"));
    setWindowTitle(QStringLiteral("Printing progress"));
    setFixedSize(149, 97);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    bar_->setGeometry(8, 16, 133, 17);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setGeometry(37, 56, 75, 25);
    connect(cancel, &QPushButton::clicked, this, [this] { cancelled_ = true; });
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void PrintProgress::setPercent(int percent) {
    if (bar_->value() != percent)
        bar_->setValue(percent);
}

void PrintProgress::reject() {
    cancelled_ = true;
}

} // namespace kavelon::report
