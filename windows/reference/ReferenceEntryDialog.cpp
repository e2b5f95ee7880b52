#include "windows/reference/ReferenceEntryDialog.h"

#include "app/Buttons.h"
#include "app/FormSetup.h"
#include "app/Guard.h"
#include "app/Messages.h"
#include "app/Opening.h"
#include "controls/TDBEdit.h"
#include "windows/common/PendingRow.h"
#include "windows/shell/Unit1.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

using namespace kavelon;

namespace {

std::unique_ptr<TDataSource> dataSource(TableCursor* cursor) {
    auto source = std::make_unique<TDataSource>();
    source->setObjectName(QStringLiteral("DataSource1"));
    source->setDataSet(cursor);
    return source;
}

} // namespace

namespace entry {

QLabel* label(QWidget* parent, const QString& name, const QString& caption, QPoint at,
              const QFont& font, int room) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setFont(font);
    for (const int stretch : {int(QFont::SemiCondensed), int(QFont::Condensed)}) {
        if (room <= 0 || l->sizeHint().width() <= room)
            break;
        QFont narrower = font;
        narrower.setStretch(stretch);
        l->setFont(narrower);
    }
    l->move(at);
    l->adjustSize();
    return l;
}

TDBEdit* dbEdit(QWidget* parent, const QString& name, QRect geometry, TDataSource* source,
                const QString& field) {
    auto* edit = new TDBEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry.x(), geometry.y(), geometry.width(), 21);
    edit->setDataSource(source);
    edit->setDataField(field);
    return edit;
}

} // namespace entry

ReferenceEntryDialog::ReferenceEntryDialog(const char* objectName, const QString& caption,
                                           const QString& table, QSize client)
    : ADOTable1(tableCursor(QStringLiteral("ADOTable1"), Form1->ADOConnection1.get(), table)),
      DataSource1(dataSource(ADOTable1.get())) {
    setUpForm(this, QLatin1String(objectName), caption, client);
    openAtStart(*ADOTable1);
}

ReferenceEntryDialog::~ReferenceEntryDialog() = default;

void ReferenceEntryDialog::addButtons(QRect add, QRect cancel, const QFont& font) {
    Button1 = new QPushButton(QStringLiteral("Добавить"), this);
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));
    for (auto [b, place] : {std::pair{Button1, add}, std::pair{Button2, cancel}}) {
        b->setGeometry(place.x(), place.y(), place.width(), 25);
        b->setFont(font);
        // Neither is a default button: Enter in an edit does not press "Добавить".
        b->setAutoDefault(false);
        b->setDefault(false);
        fitCaption(b);
    }
    connect(Button1, &QPushButton::clicked, this,
            guarded(this, &ReferenceEntryDialog::Button1Click));
    connect(Button2, &QPushButton::clicked, this,
            guarded(this, &ReferenceEntryDialog::Button2Click));
}

void ReferenceEntryDialog::saveAndRequery() {
    ADOTable1->Post();
    close();
    listCursor().Requery();
}

void ReferenceEntryDialog::Button2Click() {
    ADOTable1->Cancel();
    close();
}

// The close box does what "Отмена" does: a half-filled row is never stored later unchecked.
void ReferenceEntryDialog::FormClose() {
    dropRowOnClosing(*ADOTable1);
}

void ReferenceEntryDialog::closeEvent(QCloseEvent* event) {
    guard([this] { FormClose(); });
    QWidget::closeEvent(event);
}

LabelledEntryDialog::LabelledEntryDialog(const EntryLayout& layout)
    : ReferenceEntryDialog(layout.objectName, layout.caption, layout.table, layout.client) {
    QLabel** labels[] = {&Label1, &Label2, &Label3, &Label4, &Label5};
    TDBEdit** edits[] = {&DBEdit1, &DBEdit2, &DBEdit3, &DBEdit4, &DBEdit5};
    for (std::size_t i = 0; i < layout.rows.size() && i < std::size(labels); ++i) {
        const EntryRow& row = layout.rows[i];
        *labels[i] =
            entry::label(this, QStringLiteral("Label%1").arg(i + 1), row.label, row.labelAt,
                         layout.labelFont, row.edit.left - row.labelAt.left - 4);
        *edits[i] = entry::dbEdit(this, QStringLiteral("DBEdit%1").arg(i + 1), row.edit,
                                  DataSource1.get(), row.field);
        edits_.push_back(*edits[i]);
    }
    addButtons(layout.add, layout.cancel,
               layout.georgiaButtons ? pixelFont(QStringLiteral("Georgia"), 13) : font());
    QWidget* previous = nullptr;
    for (QWidget* w : edits_) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
    setTabOrder(previous, Button1);
    setTabOrder(Button1, Button2);
    edits_.front()->setFocus();
}

void LabelledEntryDialog::Button1Click() {
    for (TDBEdit* edit : edits_)
        if (edit->text().isEmpty()) {
            messages().messageBox(QStringLiteral("Не все поля заполнены"));
            return;
        }
    saveAndRequery();
}
