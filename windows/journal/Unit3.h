#pragma once
// TForm3, "Новый заказ": the order entry dialog. The journal window puts the dialog's own journal
// cursor into dsInsert or dsEdit and shows it; "ОК" computes the sum from the settlement's
// distance and the vehicle's tariff, stores the order and re-queries the journal.

#include "controls/TDataSource.h"
#include "data/TableCursor.h"

#include <QWidget>
#include <memory>

class QLabel;
class QPushButton;

namespace kavelon {
class DateBox;
class TDBEdit;
class TDBLookupComboBox;
} // namespace kavelon

class TForm3 : public QWidget {
    Q_OBJECT
public:
    TForm3();
    ~TForm3() override;

    const std::unique_ptr<kavelon::TableCursor> ADOTable1;
    const std::unique_ptr<kavelon::TableCursor> ADOTable2;
    const std::unique_ptr<kavelon::TableCursor> ADOTable3;
    const std::unique_ptr<kavelon::TableCursor> ADOTable4;
    const std::unique_ptr<kavelon::TableCursor> ADOTable5;
    // After the cursors they are made from.
    const std::unique_ptr<kavelon::TDataSource> DataSource1;
    const std::unique_ptr<kavelon::TDataSource> DataSource2;
    const std::unique_ptr<kavelon::TDataSource> DataSource3;
    const std::unique_ptr<kavelon::TDataSource> DataSource4;
    const std::unique_ptr<kavelon::TDataSource> DataSource5;

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label9 = nullptr;
    kavelon::DateBox* DateEdit1 = nullptr;
    kavelon::TDBLookupComboBox* DBLookupComboBox1 = nullptr;
    kavelon::TDBLookupComboBox* DBLookupComboBox2 = nullptr;
    kavelon::TDBLookupComboBox* DBLookupComboBox3 = nullptr;
    kavelon::TDBLookupComboBox* DBLookupComboBox4 = nullptr;
    kavelon::TDBEdit* DBEdit1 = nullptr;
    kavelon::TDBEdit* DBEdit2 = nullptr;
    kavelon::TDBEdit* DBEdit3 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

    void Button1Click();
    void Button2Click();
    void FormShow();
    void FormClose();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpComponents();
    // The order names a settlement and a vehicle, and the two list cursors stand on exactly
    // those rows, so that the sum is computed from what the order says.
    bool listsStandOnTheOrder();

    // The date box's text as the dispatcher left it on a new order: what the next new order
    // offers, whatever date a changed order showed in between.
    QString newOrderDate_;
    bool showingNewOrder_ = false;
};

extern TForm3* Form3;
