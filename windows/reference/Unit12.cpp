#include "windows/reference/Unit12.h"

#include "app/FormSetup.h"
#include "app/Guard.h"
#include "app/Opening.h"
#include "controls/TDBEdit.h"
#include "controls/TDBLookupComboBox.h"
#include "windows/common/PendingRow.h"
#include "windows/reference/Unit11.h"
#include "windows/shell/Unit1.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

using namespace kavelon;

TForm12* Form12 = nullptr;

namespace {

std::unique_ptr<TDataSource> dataSource(TableCursor* cursor) {
    auto source = std::make_unique<TDataSource>();
    source->setObjectName(QStringLiteral("DataSource2"));
    source->setDataSet(cursor);
    return source;
}

} // namespace

TForm12::TForm12()
    : ReferenceEntryDialog("Form12", QStringLiteral("Добавить водителя"), schema::driversTable,
                           {528, 341}),
      ADOTable2(tableCursor(QStringLiteral("ADOTable2"), Form1->ADOConnection1.get(),
                            schema::vehiclesTable)),
      DataSource2(dataSource(ADOTable2.get())) {
    openAtStart(*ADOTable2);
    setUpComponents();
}

void TForm12::setUpComponents() {
    const QFont labels = pixelFont(QStringLiteral("Georgia"), 16, true);
    constexpr int roomBeforeEdits = 264 - 64 - 4;
    Label1 = entry::label(this, QStringLiteral("Label1"), QStringLiteral("ФИО"), {64, 48}, labels);
    Label2 = entry::label(this, QStringLiteral("Label2"), QStringLiteral("№ ВУ"), {64, 88}, labels);
    Label4 = entry::label(this, QStringLiteral("Label4"), QStringLiteral("Адрес прописки"),
                          {64, 168}, labels, roomBeforeEdits);
    Label3 = entry::label(this, QStringLiteral("Label3"), QStringLiteral("Контактный телефон"),
                          {64, 208}, labels, roomBeforeEdits);
    Label5 = entry::label(this, QStringLiteral("Label5"), QStringLiteral("Автомобиль"), {64, 248},
                          labels, roomBeforeEdits);

    TDataSource* source = DataSource1.get();
    DBEdit1 = entry::dbEdit(this, QStringLiteral("DBEdit1"), {136, 48, 185, 21}, source,
                            QStringLiteral("ФИО"));
    DBEdit2 = entry::dbEdit(this, QStringLiteral("DBEdit2"), {136, 88, 185, 21}, source,
                            QStringLiteral("№ ВУ"));
    DBEdit3 = entry::dbEdit(this, QStringLiteral("DBEdit3"), {264, 168, 161, 21}, source,
                            QStringLiteral("Адрес прописки"));
    DBEdit4 = entry::dbEdit(this, QStringLiteral("DBEdit4"), {264, 208, 161, 21}, source,
                            QStringLiteral("Контактный телефон"));

    // Not bound: its state reaches the row only on "Добавить", and it is never reset.
    CheckBox1 = new QCheckBox(QStringLiteral("междунар ВУ"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(160, 128, 113, 17);
    CheckBox1->setFont(pixelFont(QStringLiteral("Georgia"), 13));

    DBLookupComboBox1 = new TDBLookupComboBox(this);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->setGeometry(264, 248, 161, 21);
    DBLookupComboBox1->setDataSource(source);
    DBLookupComboBox1->setDataField(QStringLiteral("Автомобиль"));
    DBLookupComboBox1->setListSource(DataSource2.get());
    DBLookupComboBox1->setKeyField(QStringLiteral("Марка"));
    DBLookupComboBox1->setListField(QStringLiteral("Марка"));

    addButtons({152, 296, 91, 25}, {256, 296, 97, 25}, pixelFont(QStringLiteral("Georgia"), 15));

    QWidget* order[] = {DBEdit1,           DBEdit2, DBEdit3,   DBEdit4,
                        DBLookupComboBox1, Button1, CheckBox1, Button2};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    DBEdit1->setFocus();
}

void TForm12::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        guard([this] { FormShow(); });
}

// Vehicles added or deleted in "Транспортные средства" since the last showing are offered as
// they now stand.
void TForm12::FormShow() {
    rereadLookupLists({ADOTable2.get()}, {DBLookupComboBox1});
}

// No edit is checked for text: an empty field is stored as an empty value.
void TForm12::Button1Click() {
    ADOTable1->FieldByName(QStringLiteral("Межд ВУ")).setAsBoolean(CheckBox1->isChecked());
    saveAndRequery();
}

TableCursor& TForm12::listCursor() const {
    return *Form11->ADOTable1;
}
