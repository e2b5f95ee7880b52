#include "windows/journal/Unit2.h"

#include "app/Buttons.h"
#include "app/FormSetup.h"
#include "app/Guard.h"
#include "app/ModalShowing.h"
#include "app/Opening.h"
#include "controls/TDBGrid.h"
#include "controls/TDataSource.h"
#include "controls/TRadioGroup.h"
#include "windows/common/PendingRow.h"
#include "windows/journal/Unit3.h"
#include "windows/journal/Unit4.h"
#include "windows/shell/Unit1.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace kavelon;

TForm2* Form2 = nullptr;

TForm2::TForm2()
    : ADOTable1(tableCursor(QStringLiteral("ADOTable1"), Form1->ADOConnection1.get(),
                            schema::journalTable, schema::journal().columns)) {
    setUpForm(this, QStringLiteral("Form2"), QStringLiteral("Журнал"), {822, 633});
    setFixedPlace(this, {96, 36});
    setUpComponents();
    openAtStart(*ADOTable1);
}

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int left,
                    int width) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(left, 16, width, 30);
    b->setFont(pixelFont(QStringLiteral("Georgia"), 16));
    fitCaption(b);
    return b;
}

QLineEdit* searchBox(QGroupBox* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(16, 24, 209, 21);
    return e;
}

} // namespace

void TForm2::setUpComponents() {
    Label1 = new QLabel(QStringLiteral("Журнал"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(0, 0, 822, 31);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setFont(pixelFont(QStringLiteral("Georgia"), 27));
    Label1->setAutoFillBackground(true);
    QPalette menuBar = Label1->palette();
    menuBar.setColor(QPalette::Window, QPalette().color(QPalette::Window));
    menuBar.setColor(QPalette::WindowText, Qt::black);
    Label1->setPalette(menuBar);

    DataSource1 = new TDataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(ADOTable1.get());

    DBGrid1 = new TDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(0, 29, 817, 420);
    DBGrid1->setTitleFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    DBGrid1->setDataSource(DataSource1);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 633 - 185, 822, 185);
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);

    Button1 = button(Panel1, "Button1", QStringLiteral("Новый заказ"), 56, 113);
    Button2 = button(Panel1, "Button2", QStringLiteral("Редактировать"), 192, 137);
    Button3 = button(Panel1, "Button3", QStringLiteral("Удалить"), 352, 100);
    Button4 = button(Panel1, "Button4", QStringLiteral("Печать заказа"), 472, 121);
    Button5 = button(Panel1, "Button5", QStringLiteral("Закрыть"), 616, 100);

    GroupBox1 = new QGroupBox(QStringLiteral("поиск по клиенту"), Panel1);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(16, 56, 249, 57);
    Edit1 = searchBox(GroupBox1, "Edit1");

    GroupBox2 = new QGroupBox(QStringLiteral("поиск по водителю"), Panel1);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(16, 120, 249, 57);
    Edit2 = searchBox(GroupBox2, "Edit2");

    // The items of RadioGroup1 are the journal's column names: the sort uses them as such.
    RadioGroup1 = new TRadioGroup(Panel1);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setTitle(QStringLiteral("сортировать по:"));
    RadioGroup1->setGeometry(280, 56, 193, 121);
    RadioGroup1->setItems({QStringLiteral("ID"), QStringLiteral("Клиент"),
                           QStringLiteral("Водитель"), QStringLiteral("Сумма")});
    RadioGroup1->setItemIndex(0);

    RadioGroup2 = new TRadioGroup(Panel1);
    RadioGroup2->setObjectName(QStringLiteral("RadioGroup2"));
    RadioGroup2->setTitle(QStringLiteral("порядок сортировки"));
    RadioGroup2->setGeometry(488, 56, 185, 65);
    RadioGroup2->setItems({QStringLiteral("по возрастанию"), QStringLiteral("по убыванию")});
    RadioGroup2->setItemIndex(0);

    setTabOrder(DBGrid1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button4);
    setTabOrder(Button4, Button5);
    setTabOrder(Button5, Edit1);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, RadioGroup1->button(0));
    setTabOrder(RadioGroup1->button(0), RadioGroup2->button(0));
    DBGrid1->setFocus();

    connect(Button1, &QPushButton::clicked, this, guarded(this, &TForm2::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guarded(this, &TForm2::Button2Click));
    connect(Button3, &QPushButton::clicked, this, guarded(this, &TForm2::Button3Click));
    connect(Button4, &QPushButton::clicked, this, guarded(this, &TForm2::Button4Click));
    connect(Button5, &QPushButton::clicked, this, guarded(this, &TForm2::Button5Click));
    connect(Edit1, &QLineEdit::textChanged, this, guarded(this, &TForm2::Edit1Change));
    connect(Edit2, &QLineEdit::textChanged, this, guarded(this, &TForm2::Edit2Change));
    connect(RadioGroup1, &TRadioGroup::Click, this, guarded(this, &TForm2::RadioGroup1Click));
    connect(RadioGroup2, &TRadioGroup::Click, this, guarded(this, &TForm2::RadioGroup2Click));
}

void TForm2::Button1Click() {
    Form3->ADOTable1->Insert();
    showModal(Form3);
}

// Changes the order selected in the grid, as the dialog's own cursor reads it from the file
// now; with no order selected it is a new order.
void TForm2::Button2Click() {
    if (ADOTable1->State() == dsEdit || ADOTable1->State() == dsInsert)
        ADOTable1->CheckBrowseMode();
    TableCursor& orders = *Form3->ADOTable1;
    orders.Requery();
    if (ADOTable1->IsEmpty()) {
        orders.Insert();
    } else if (orders.Locate(QStringLiteral("ID"),
                             ADOTable1->FieldByName(QStringLiteral("ID")).value())) {
        orders.Edit();
    } else {
        // Deleted meanwhile through another cursor: the journal shows what is left.
        ADOTable1->Requery();
        return;
    }
    showModal(Form3);
}

// A press that took the focus from an untouched new row in the grid has removed that row, which is
// what the dispatcher meant to delete.
void TForm2::Button3Click() {
    if (DBGrid1->droppedNewRowFor(Button3))
        return;
    ADOTable1->Delete();
}

void TForm2::Button4Click() {
    Form4->Report1->ShowPreview();
}

void TForm2::Button5Click() {
    close();
}

void TForm2::Edit1Change() {
    FilterByClient();
}

void TForm2::Edit2Change() {
    FilterByDriver();
}

void TForm2::RadioGroup1Click() {
    ApplySort();
}

void TForm2::RadioGroup2Click() {
    ApplySort();
}

void TForm2::FilterByClient() {
    filterBy(QStringLiteral("Клиент"), Edit1->text());
}

void TForm2::FilterByDriver() {
    filterBy(QStringLiteral("Водитель"), Edit2->text());
}

// Each search replaces the other's filter; a text the filter refuses shows every row.
void TForm2::filterBy(const QString& column, const QString& text) {
    ADOTable1->setFiltered(false);
    QString expression;
    if (!text.isEmpty()) {
        QString pattern = QStringLiteral("*") + text + QStringLiteral("*");
        pattern.replace(QLatin1Char('\''), QStringLiteral("''"));
        expression = QStringLiteral(" %1 Like '%2'").arg(column, pattern);
    }
    try {
        ADOTable1->setFilter(expression);
        ADOTable1->setFiltered(true);
    } catch (const Error&) {
        ADOTable1->setFiltered(false);
    }
}

void TForm2::ApplySort() {
    const QString column = RadioGroup1->Items().value(RadioGroup1->ItemIndex());
    const QString order =
        RadioGroup2->ItemIndex() == 0 ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
    ADOTable1->setSort(QStringLiteral("[") + column + QStringLiteral("]") + order);
}

// A row left in editing in the grid is finished as any move would finish it; if it cannot be
// posted the window stays, so the change is not lost.
void TForm2::closeEvent(QCloseEvent* event) {
    if (finishRowOnClosing(*ADOTable1))
        event->accept();
    else
        event->ignore();
}
