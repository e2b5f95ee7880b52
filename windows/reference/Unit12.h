#pragma once
// TForm12, "Добавить водителя": the dialog that adds a driver. Unlike the other entry dialogs it
// checks no edit for text, has the box "междунар ВУ" written into the row on "Добавить", and
// offers the vehicles' makes in a lookup box.

#include "windows/reference/ReferenceEntryDialog.h"

class QCheckBox;

namespace kavelon {
class TDBLookupComboBox;
} // namespace kavelon

class TForm12 : public ReferenceEntryDialog {
    Q_OBJECT
public:
    TForm12();

    const std::unique_ptr<kavelon::TableCursor> ADOTable2;
    const std::unique_ptr<kavelon::TDataSource> DataSource2;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    kavelon::TDBEdit* DBEdit1 = nullptr;
    kavelon::TDBEdit* DBEdit2 = nullptr;
    kavelon::TDBEdit* DBEdit3 = nullptr;
    kavelon::TDBEdit* DBEdit4 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    kavelon::TDBLookupComboBox* DBLookupComboBox1 = nullptr;

    void Button1Click() override;
    void FormShow();

protected:
    kavelon::TableCursor& listCursor() const override;
    void showEvent(QShowEvent* event) override;

private:
    void setUpComponents();
};

extern TForm12* Form12;
