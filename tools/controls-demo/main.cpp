// A window with the data-bound controls over кавелон.mdb of the working folder, laid out as a
// part of the order dialog: settlement and vehicle chosen in lookup boxes, their distance and
// tariff shown by disabled edits on the list cursors, the weight typed into an edit.
//
//   kavelon-db create --demo кавелон.mdb && controls-demo [--open-list] [--grab FILE]
//
// --open-list opens the settlement list; --grab saves a picture of the screen and quits.

#include "app/Guard.h"
#include "controls/TDBEdit.h"
#include "controls/TDBLookupComboBox.h"
#include "controls/TDataSource.h"
#include "data/Connection.h"
#include "data/TableCursor.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>

using namespace kavelon;

namespace {

QString stateName(DataSetState s) {
    switch (s) {
    case dsInactive:
        return QStringLiteral("closed");
    case dsBrowse:
        return QStringLiteral("dsBrowse");
    case dsInsert:
        return QStringLiteral("dsInsert");
    case dsEdit:
        return QStringLiteral("dsEdit");
    }
    return {};
}

// Shows the journal cursor's state and row under the buttons.
class StateLabel : public QLabel, private DataLink {
public:
    StateLabel(TDataSource* source, QWidget* parent) : QLabel(parent), source_(source) {
        source_->addLink(this);
        show();
    }
    ~StateLabel() override { source_->removeLink(this); }

private:
    void show() {
        const TableCursor* c = source_->DataSet();
        setText(QStringLiteral("%1, строка %2 из %3")
                    .arg(stateName(c->State()))
                    .arg(c->RecNo())
                    .arg(c->RecordCount()));
    }
    void dataRowsChanged() override { show(); }
    void dataScrolled(int) override { show(); }
    void dataStateChanged() override { show(); }
    TDataSource* source_;
};

TableCursor* openCursor(std::vector<std::unique_ptr<TableCursor>>& cursors, Connection& connection,
                        const QString& name, const QString& table) {
    auto cursor = std::make_unique<TableCursor>(name);
    cursor->setConnection(&connection);
    cursor->setTableName(table);
    cursor->Open();
    cursors.push_back(std::move(cursor));
    return cursors.back().get();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool openList = args.contains(QStringLiteral("--open-list"));
    const qsizetype grabAt = args.indexOf(QStringLiteral("--grab"));
    const QString grabFile = grabAt > 0 && grabAt + 1 < args.size() ? args[grabAt + 1] : QString();

    Connection connection;
    connection.ConnectionString = QStringLiteral(
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=кавелон.mdb;Persist Security Info=False");
    std::vector<std::unique_ptr<TableCursor>> cursors;
    TableCursor *journal = nullptr, *settlements = nullptr, *vehicles = nullptr;
    try {
        connection.Open();
        journal =
            openCursor(cursors, connection, QStringLiteral("ADOTable1"), schema::journalTable);
        settlements =
            openCursor(cursors, connection, QStringLiteral("ADOTable2"), schema::settlementsTable);
        vehicles =
            openCursor(cursors, connection, QStringLiteral("ADOTable5"), schema::vehiclesTable);
    } catch (const Error& e) {
        std::fprintf(stderr, "controls-demo: %s\n", e.what());
        return 1;
    }

    QWidget window;
    window.setWindowTitle(QStringLiteral("Kavelon: элементы данных"));
    auto* DataSource1 = new TDataSource(&window);
    DataSource1->setDataSet(journal);
    auto* DataSource2 = new TDataSource(&window);
    DataSource2->setDataSet(settlements);
    auto* DataSource5 = new TDataSource(&window);
    DataSource5->setDataSet(vehicles);

    auto* DBLookupComboBox1 = new TDBLookupComboBox(&window);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->setDataSource(DataSource1);
    DBLookupComboBox1->setDataField(QStringLiteral("Населённый пункт"));
    DBLookupComboBox1->setListSource(DataSource2);
    DBLookupComboBox1->setKeyField(QStringLiteral("Наименование"));
    DBLookupComboBox1->setListField(QStringLiteral("Наименование;Растояние до НП"));

    auto* DBEdit1 = new TDBEdit(&window);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setDataSource(DataSource2);
    DBEdit1->setDataField(QStringLiteral("Растояние до НП"));
    DBEdit1->setEnabled(false);

    auto* DBLookupComboBox4 = new TDBLookupComboBox(&window);
    DBLookupComboBox4->setObjectName(QStringLiteral("DBLookupComboBox4"));
    DBLookupComboBox4->setDataSource(DataSource1);
    DBLookupComboBox4->setDataField(QStringLiteral("Транспортное средство"));
    DBLookupComboBox4->setListSource(DataSource5);
    DBLookupComboBox4->setKeyField(QStringLiteral("Марка"));
    DBLookupComboBox4->setListField(QStringLiteral("Марка;Госномер;Цена перев 1кг/1км"));

    auto* DBEdit2 = new TDBEdit(&window);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->setDataSource(DataSource5);
    DBEdit2->setDataField(QStringLiteral("Цена перев 1кг/1км"));
    DBEdit2->setEnabled(false);

    auto* DBEdit3 = new TDBEdit(&window);
    DBEdit3->setObjectName(QStringLiteral("DBEdit3"));
    DBEdit3->setDataSource(DataSource1);
    DBEdit3->setDataField(QStringLiteral("Вес груза"));

    auto* DBEdit4 = new TDBEdit(&window);
    DBEdit4->setObjectName(QStringLiteral("DBEdit4"));
    DBEdit4->setDataSource(DataSource1);
    DBEdit4->setDataField(QStringLiteral("Клиент"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Населённый пункт"), DBLookupComboBox1);
    form->addRow(QStringLiteral("Расстояние, км"), DBEdit1);
    form->addRow(QStringLiteral("Транспортное средство"), DBLookupComboBox4);
    form->addRow(QStringLiteral("Цена перев 1кг/1км"), DBEdit2);
    form->addRow(QStringLiteral("Клиент"), DBEdit4);
    form->addRow(QStringLiteral("Вес груза"), DBEdit3);

    auto* buttons = new QHBoxLayout;
    const auto addButton = [&](const QString& caption, auto action) {
        auto* b = new QPushButton(caption, &window);
        QObject::connect(b, &QPushButton::clicked, &window, [action] { guard(action); });
        buttons->addWidget(b);
    };
    addButton(QStringLiteral("<"), [journal] { journal->Prior(); });
    addButton(QStringLiteral(">"), [journal] { journal->Next(); });
    addButton(QStringLiteral("Новый"), [journal] { journal->Insert(); });
    addButton(QStringLiteral("Сохранить"), [journal] { journal->Post(); });
    addButton(QStringLiteral("Отмена"), [journal] { journal->Cancel(); });

    auto* layout = new QVBoxLayout(&window);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(new StateLabel(DataSource1, &window));
    layout->addStretch();
    window.resize(460, 330);
    window.move(40, 40);
    window.show();
    DBLookupComboBox4->setFocus();

    if (openList)
        QTimer::singleShot(300, DBLookupComboBox1,
                           [DBLookupComboBox1] { DBLookupComboBox1->DropDown(); });
    if (!grabFile.isEmpty())
        QTimer::singleShot(1200, &app, [&app, grabFile] {
            const bool saved =
                QGuiApplication::primaryScreen()->grabWindow(0).copy(0, 0, 560, 430).save(grabFile);
            app.exit(saved ? 0 : 1);
        });
    return app.exec();
}
