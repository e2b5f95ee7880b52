#include "app/PrinterSetupDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kavelon {

namespace {

template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

PrinterSetupDialog::PrinterSetupDialog(const PrinterSetup& preset, QWidget* parent)
    : QDialog(parent), preset_(preset) {
    setObjectName(QStringLiteral("PrinterSetupDialog"));
    setWindowTitle(QStringLiteral("Printer setup"));
    const int lastPage = std::max(preset.minPage, preset.maxPage);

    printer_ = named(new QComboBox, "PrinterName");
    printer_->addItems(preset.printers);
    if (!preset.printer.isEmpty() && !preset.printers.contains(preset.printer))
        printer_->addItem(preset.printer);
    printer_->setCurrentText(preset.printer);
    auto* printerBox = new QGroupBox(QStringLiteral("Printer"));
    auto* printerForm = new QFormLayout(printerBox);
    auto* printerLabel = new QLabel(QStringLiteral("&Name:"));
    printerLabel->setBuddy(printer_);
    printerForm->addRow(printerLabel, printer_);

    portrait_ = named(new QRadioButton(QStringLiteral("&Portrait")), "Portrait");
    landscape_ = named(new QRadioButton(QStringLiteral("&Landscape")), "Landscape");
    (preset.landscape ? landscape_ : portrait_)->setChecked(true);
    auto* orientationBox = new QGroupBox(QStringLiteral("Orientation"));
    auto* orientationLayout = new QVBoxLayout(orientationBox);
    orientationLayout->addWidget(portrait_);
    orientationLayout->addWidget(landscape_);

    copies_ = named(new QSpinBox, "Copies");
    copies_->setRange(1, 999);
    copies_->setValue(std::max(1, preset.copies));
    auto* copiesBox = new QGroupBox(QStringLiteral("Copies"));
    auto* copiesForm = new QFormLayout(copiesBox);
    auto* copiesLabel = new QLabel(QStringLiteral("Number of &copies:"));
    copiesLabel->setBuddy(copies_);
    copiesForm->addRow(copiesLabel, copies_);

    allPages_ = named(new QRadioButton(QStringLiteral("&All pages")), "AllPages");
    pageRange_ = named(new QRadioButton(QStringLiteral("Pa&ges from")), "PageRange");
    fromPage_ = named(new QSpinBox, "FromPage");
    toPage_ = named(new QSpinBox, "ToPage");
    fromPage_->setRange(preset.minPage, lastPage);
    toPage_->setRange(preset.minPage, lastPage);
    const bool ranged = preset.fromPage > 0;
    fromPage_->setValue(ranged ? preset.fromPage : preset.minPage);
    toPage_->setValue(ranged ? std::max(preset.toPage, preset.fromPage) : lastPage);
    (ranged ? pageRange_ : allPages_)->setChecked(true);
    fromPage_->setEnabled(ranged);
    toPage_->setEnabled(ranged);
    connect(pageRange_, &QRadioButton::toggled, fromPage_, &QWidget::setEnabled);
    connect(pageRange_, &QRadioButton::toggled, toPage_, &QWidget::setEnabled);
    // The range never runs backwards: each end pushes the other along.
    connect(fromPage_, &QSpinBox::valueChanged, this, [this](int from) {
        if (toPage_->value() < from)
            toPage_->setValue(from);
    });
    connect(toPage_, &QSpinBox::valueChanged, this, [this](int to) {
        if (fromPage_->value() > to)
            fromPage_->setValue(to);
    });
    auto* rangeBox = new QGroupBox(QStringLiteral("Page range"));
    auto* rangeLayout = new QVBoxLayout(rangeBox);
    rangeLayout->addWidget(allPages_);
    auto* fromTo = new QHBoxLayout;
    fromTo->addWidget(pageRange_);
    fromTo->addWidget(fromPage_);
    auto* toLabel = new QLabel(QStringLiteral("&to"));
    toLabel->setBuddy(toPage_);
    fromTo->addWidget(toLabel);
    fromTo->addWidget(toPage_);
    fromTo->addStretch();
    rangeLayout->addLayout(fromTo);

    auto* buttons =
        named(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel), "Buttons");
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(printerBox);
    auto* middle = new QHBoxLayout;
    middle->addWidget(orientationBox);
    middle->addWidget(copiesBox);
    layout->addLayout(middle);
    layout->addWidget(rangeBox);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

PrinterSetup PrinterSetupDialog::choice() const {
    PrinterSetup chosen = preset_;
    chosen.printer = printer_->currentText();
    chosen.landscape = landscape_->isChecked();
    chosen.copies = copies_->value();
    if (pageRange_->isChecked()) {
        chosen.fromPage = fromPage_->value();
        chosen.toPage = std::max(fromPage_->value(), toPage_->value());
    } else {
        chosen.fromPage = chosen.toPage = 0;
    }
    return chosen;
}

} // namespace kavelon
