#include "windows/journal/Unit3.h"

#include "app/FormSetup.h"
#include "app/Guard.h"
#include "app/Messages.h"
#include "app/Opening.h"
#include "controls/DateBox.h"
#include "controls/TDBEdit.h"
#include "controls/TDBLookupComboBox.h"
#include "data/FieldText.h"
#include "windows/common/PendingRow.h"
#include "windows/journal/Unit2.h"
#include "windows/shell/Unit1.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>
#include <limits>

using namespace kavelon;

TForm3* Form3 = nullptr;

namespace {

const QString notAllFilled = QStringLiteral("Не все поля запонены");

// The system's text-to-integer conversion, which refuses an empty text as well.
std::int32_t textToInteger(const QString& text) {
    const ConversionError refused(QStringLiteral("'%1' is not a valid integer value").arg(text));
    if (text.isEmpty())
        throw refused;
    try {
        return fieldtext::parseInteger(text, QString()).toInteger();
    } catch (const ConversionError&) {
        throw refused;
    }
}

QLabel* label(QWidget* parent, const char* name, const QString& caption, QRect geometry,
              const QFont& font) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    l->setFont(font);
    // Labels size themselves to their text: the face standing in for the designed one may be
    // wider, and a caption must not be cut. One that would run into the boxes' column is set
    // narrower instead.
    constexpr int roomBeforeBoxes = 176 - 24 - 1;
    if (l->sizeHint().width() > roomBeforeBoxes) {
        QFont narrower = font;
        narrower.setStretch(QFont::SemiCondensed);
        l->setFont(narrower);
    }
    l->setGeometry(geometry.x(), geometry.y(), std::max(geometry.width(), l->sizeHint().width()),
                   geometry.height());
    return l;
}

// A wrapped label keeps its width unless a single word is wider, and grows to hold its lines.
void wrapLines(QLabel* l) {
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QFontMetrics metrics(l->font());
    int width = l->width();
    for (const QString& word : l->text().split(QLatin1Char(' ')))
        width = std::max(width, metrics.horizontalAdvance(word) + 2);
    l->resize(width, std::max(l->height(), l->heightForWidth(width)));
}

TDBLookupComboBox* lookupBox(QWidget* parent, const char* name, int top, TDataSource* source,
                             const QString& field, TDataSource* list, const QString& key,
                             const QString& listFields) {
    auto* box = new TDBLookupComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(176, top, 145, 21);
    box->setDataSource(source);
    box->setDataField(field);
    box->setListSource(list);
    box->setKeyField(key);
    box->setListField(listFields);
    return box;
}

TDBEdit* dbEdit(QWidget* parent, const char* name, QRect geometry, TDataSource* source,
                const QString& field) {
    auto* edit = new TDBEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(geometry);
    edit->setDataSource(source);
    edit->setDataField(field);
    return edit;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int left) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(left, 344, 75, 25);
    // Neither is the default button: Enter does not press "ОК".
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

std::unique_ptr<TDataSource> dataSource(const char* name, TableCursor* cursor) {
    auto source = std::make_unique<TDataSource>();
    source->setObjectName(QLatin1String(name));
    source->setDataSet(cursor);
    return source;
}

} // namespace

TForm3::TForm3()
    : ADOTable1(tableCursor(QStringLiteral("ADOTable1"), Form1->ADOConnection1.get(),
                            schema::journalTable)),
      ADOTable2(tableCursor(QStringLiteral("ADOTable2"), Form1->ADOConnection1.get(),
                            schema::settlementsTable)),
      ADOTable3(tableCursor(QStringLiteral("ADOTable3"), Form1->ADOConnection1.get(),
                            schema::clientsTable)),
      ADOTable4(tableCursor(QStringLiteral("ADOTable4"), Form1->ADOConnection1.get(),
                            schema::driversTable)),
      ADOTable5(tableCursor(QStringLiteral("ADOTable5"), Form1->ADOConnection1.get(),
                            schema::vehiclesTable)),
      DataSource1(dataSource("DataSource1", ADOTable1.get())),
      DataSource2(dataSource("DataSource2", ADOTable2.get())),
      DataSource3(dataSource("DataSource3", ADOTable3.get())),
      DataSource4(dataSource("DataSource4", ADOTable4.get())),
      DataSource5(dataSource("DataSource5", ADOTable5.get())) {
    setUpForm(this, QStringLiteral("Form3"), QStringLiteral("Новый заказ"), {384, 387});
    openAtStart(*ADOTable1);
    openAtStart(*ADOTable2);
    openAtStart(*ADOTable3);
    openAtStart(*ADOTable4);
    openAtStart(*ADOTable5);
    setUpComponents();
}

TForm3::~TForm3() = default;

void TForm3::setUpComponents() {
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);
    setAutoFillBackground(true);

    Label1 = label(this, "Label1", QStringLiteral("Новый заказ"), QRect(0, 0, 384, 25),
                   pixelFont(QStringLiteral("Georgia"), 21));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette cream = Label1->palette();
    cream.setColor(QPalette::Window, QColor(255, 251, 240));
    cream.setColor(QPalette::WindowText, Qt::black);
    Label1->setPalette(cream);
    Label1->setAutoFillBackground(true);

    const QFont georgia = pixelFont(QStringLiteral("Georgia"), 16);
    Label2 = label(this, "Label2", QStringLiteral("Отправка"), QRect(24, 56, 71, 18), georgia);
    Label3 =
        label(this, "Label3", QStringLiteral("Населённый пункт"), QRect(24, 88, 139, 18), georgia);
    Label9 = label(this, "Label9", QStringLiteral("км"), QRect(285, 115, 14, 13), font());
    Label4 = label(this, "Label4", QStringLiteral("Клиент"), QRect(24, 152, 54, 18), georgia);
    Label5 = label(this, "Label5", QStringLiteral("Водитель"), QRect(24, 184, 69, 18), georgia);
    Label6 = label(this, "Label6", QStringLiteral("Транстпортное средство"),
                   QRect(24, 216, 115, 36), georgia);
    Label6->resize(115, 36);
    wrapLines(Label6);
    Label7 = label(this, "Label7", QStringLiteral("Вес груза"), QRect(24, 296, 69, 18), georgia);

    DateEdit1 = new DateBox(this);
    DateEdit1->setObjectName(QStringLiteral("DateEdit1"));
    DateEdit1->setGeometry(176, 56, 145, 21);
    newOrderDate_ = DateEdit1->text();

    DBLookupComboBox1 = lookupBox(this, "DBLookupComboBox1", 88, DataSource1.get(),
                                  QStringLiteral("Населённый пункт"), DataSource2.get(),
                                  QStringLiteral("Наименование"), QStringLiteral("Наименование"));
    DBEdit2 = dbEdit(this, "DBEdit2", QRect(176, 112, 105, 21), DataSource2.get(),
                     QStringLiteral("Растояние до НП"));
    DBEdit2->setEnabled(false);
    DBLookupComboBox2 = lookupBox(this, "DBLookupComboBox2", 152, DataSource1.get(),
                                  QStringLiteral("Клиент"), DataSource3.get(),
                                  QStringLiteral("Наименование"), QStringLiteral("Наименование"));
    DBLookupComboBox3 =
        lookupBox(this, "DBLookupComboBox3", 184, DataSource1.get(), QStringLiteral("Водитель"),
                  DataSource4.get(), QStringLiteral("ФИО"), QStringLiteral("ФИО"));
    DBLookupComboBox4 = lookupBox(this, "DBLookupComboBox4", 216, DataSource1.get(),
                                  QStringLiteral("Транспортное средство"), DataSource5.get(),
                                  QStringLiteral("Марка"), QStringLiteral("Марка;Госномер"));
    DBEdit3 = dbEdit(this, "DBEdit3", QRect(176, 256, 89, 21), DataSource5.get(),
                     QStringLiteral("Цена перев 1кг/1км"));
    DBEdit3->setEnabled(false);
    DBEdit1 = dbEdit(this, "DBEdit1", QRect(176, 296, 145, 21), DataSource1.get(),
                     QStringLiteral("Вес груза"));

    Button1 = button(this, "Button1", QStringLiteral("ОК"), 112);
    Button2 = button(this, "Button2", QStringLiteral("Отмена"), 200);
    connect(Button1, &QPushButton::clicked, this, guarded(this, &TForm3::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guarded(this, &TForm3::Button2Click));

    // The tab order of the form: the vehicle box comes last, after "Отмена".
    QWidget* order[] = {DateEdit1, DBLookupComboBox1, DBLookupComboBox2, DBLookupComboBox3,
                        DBEdit1,   Button1,           Button2,           DBEdit2,
                        DBEdit3,   DBLookupComboBox4};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    DateEdit1->setFocus();
}

void TForm3::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        guard([this] { FormShow(); });
}

void TForm3::closeEvent(QCloseEvent* event) {
    guard([this] { FormClose(); });
    QWidget::closeEvent(event);
}

// Lists added to or changed through the reference windows since the last showing are read
// again. An order opened for a change shows its own departure date; a new order the date last
// left on a new order.
void TForm3::FormShow() {
    rereadLookupLists({ADOTable2.get(), ADOTable3.get(), ADOTable4.get(), ADOTable5.get()},
                      {DBLookupComboBox1, DBLookupComboBox2, DBLookupComboBox3, DBLookupComboBox4});
    showingNewOrder_ = ADOTable1->State() == dsInsert;
    if (showingNewOrder_) {
        DateEdit1->restoreText(newOrderDate_);
    } else if (ADOTable1->State() == dsEdit) {
        const Field& departure = ADOTable1->FieldByName(QStringLiteral("Отправка"));
        DateEdit1->setDate(departure.IsNull() ? QDate() : departure.AsDateTime().date());
    }
}

// Every closing keeps the date a new order was left with. The close box does what "Отмена"
// does: an abandoned row is never stored later by accident.
void TForm3::FormClose() {
    if (showingNewOrder_)
        newOrderDate_ = DateEdit1->text();
    dropRowOnClosing(*ADOTable1);
}

bool TForm3::listsStandOnTheOrder() {
    const Field& settlement = ADOTable1->FieldByName(QStringLiteral("Населённый пункт"));
    const Field& vehicle = ADOTable1->FieldByName(QStringLiteral("Транспортное средство"));
    if (settlement.IsNull() || vehicle.IsNull())
        return false;
    if (!ADOTable2->Active() || ADOTable2->IsEmpty() || !ADOTable5->Active() ||
        ADOTable5->IsEmpty())
        return false;
    const QString make = ADOTable5->FieldByName(QStringLiteral("Марка")).AsString();
    return settlement.AsString() ==
               ADOTable2->FieldByName(QStringLiteral("Наименование")).AsString() &&
           vehicle.AsString() == make.left(vehicle.Size());
}

void TForm3::Button1Click() {
    if (DBEdit1->text().isEmpty()) {
        messages().messageBox(notAllFilled);
        return;
    }
    if (DateEdit1->isBlank() || !listsStandOnTheOrder()) {
        messages().messageBox(notAllFilled);
        return;
    }
    // A date text with digits that names no date is refused rather than stored as 30.12.1899.
    const QDate departure = DateEdit1->date();
    if (!departure.isValid())
        throw ConversionError(
            QStringLiteral("'%1' is not a valid date and time").arg(DateEdit1->text()));
    const std::int32_t distance = textToInteger(DBEdit2->text());
    const std::int32_t tariff = textToInteger(DBEdit3->text());
    const qint64 sum = qint64(distance) * tariff;
    if (sum < std::numeric_limits<std::int32_t>::min() ||
        sum > std::numeric_limits<std::int32_t>::max()) {
        messages().messageBox(QStringLiteral("Сумма заказа вне допустимого диапазона"));
        return;
    }
    ADOTable1->FieldByName(QStringLiteral("Сумма")).setAsInteger(std::int32_t(sum));
    ADOTable1->FieldByName(QStringLiteral("Отправка"))
        .setAsDateTime(DateTime::fromQDate(departure));
    ADOTable1->Post();
    DBEdit1->clear();
    close();
    Form2->ADOTable1->Requery();
}

void TForm3::Button2Click() {
    ADOTable1->Cancel();
    close();
}
