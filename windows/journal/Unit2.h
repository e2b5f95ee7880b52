#pragma once
// TForm2, "Журнал": the journal of orders in a grid, searched by customer or driver, sorted by one
// of four columns, with the buttons that start, change, delete and print orders. It stands at
// (96, 36), not centred.

#include "data/TableCursor.h"

#include <QWidget>
#include <memory>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kavelon {
class TDataSource;
class TDBGrid;
class TRadioGroup;
} // namespace kavelon

class TForm2 : public QWidget {
    Q_OBJECT
public:
    TForm2();

    const std::unique_ptr<kavelon::TableCursor> ADOTable1;
    kavelon::TDataSource* DataSource1 = nullptr;

    QLabel* Label1 = nullptr;
    kavelon::TDBGrid* DBGrid1 = nullptr;
    QFrame* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLineEdit* Edit2 = nullptr;
    kavelon::TRadioGroup* RadioGroup1 = nullptr;
    kavelon::TRadioGroup* RadioGroup2 = nullptr;

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Edit1Change();
    void Edit2Change();
    void RadioGroup1Click();
    void RadioGroup2Click();

    void FilterByClient();
    void FilterByDriver();
    void ApplySort();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpComponents();
    void filterBy(const QString& column, const QString& text);
};

extern TForm2* Form2;
