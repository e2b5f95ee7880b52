#pragma once
// "Printer setup": the printer, the orientation, the number of copies and the page range (all
// pages, or from … to … within the pages made), each of which the report honours. It prints
// nothing; OK keeps the choice.

#include "app/Messages.h"

#include <QDialog>

class QComboBox;
class QRadioButton;
class QSpinBox;

namespace kavelon {

class PrinterSetupDialog : public QDialog {
    Q_OBJECT
public:
    PrinterSetupDialog(const PrinterSetup& preset, QWidget* parent = nullptr);
    // What the controls hold now.
    PrinterSetup choice() const;

private:
    PrinterSetup preset_;
    QComboBox* printer_;
    QRadioButton* portrait_;
    QRadioButton* landscape_;
    QSpinBox* copies_;
    QRadioButton* allPages_;
    QRadioButton* pageRange_;
    QSpinBox* fromPage_;
    QSpinBox* toPage_;
};

} // namespace kavelon
