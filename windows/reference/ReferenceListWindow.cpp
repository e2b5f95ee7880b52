#include "windows/reference/ReferenceListWindow.h"

#include "app/Buttons.h"
#include "app/FormSetup.h"
#include "app/Guard.h"
#include "app/ModalShowing.h"
#include "app/Opening.h"
#include "controls/TDBGrid.h"
#include "controls/TDataSource.h"
#include "windows/common/PendingRow.h"
#include "windows/reference/ReferenceEntryDialog.h"
#include "windows/shell/Unit1.h"

#include <QCloseEvent>
#include <QFrame>
#include <QPushButton>

using namespace kavelon;

ReferenceListWindow::ReferenceListWindow(const ListLayout& layout)
    : ADOTable1(tableCursor(QStringLiteral("ADOTable1"), Form1->ADOConnection1.get(), layout.table,
                            layout.columns().columns)) {
    setUpForm(this, QLatin1String(layout.objectName), layout.caption, layout.client);
    setUpComponents(layout);
    openAtStart(*ADOTable1);
}

void ReferenceListWindow::setUpComponents(const ListLayout& layout) {
    DataSource1 = new TDataSource(this);
    DataSource1->setObjectName(QStringLiteral("DataSource1"));
    DataSource1->setDataSet(ADOTable1.get());

    const int width = layout.client.width;
    const int height = layout.client.height;
    DBGrid1 = new TDBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    const QRect gridPlace = layout.gridPlace;
    DBGrid1->setGeometry(gridPlace.isEmpty() ? QRect(0, 0, width, layout.gridHeight) : gridPlace);
    DBGrid1->setTitleFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    DBGrid1->setDataSource(DataSource1);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, height - layout.panelHeight, width, layout.panelHeight);
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);

    const QString captions[] = {QStringLiteral("Добавить"), QStringLiteral("Редактировать"),
                                QStringLiteral("Удалить"), QStringLiteral("Закрыть")};
    QPushButton** buttons[] = {&Button1, &Button2, &Button3, &Button4};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QPushButton(captions[i], Panel1);
        b->setObjectName(QStringLiteral("Button%1").arg(i + 1));
        b->setGeometry(layout.buttons[i].left, layout.buttonTop, layout.buttons[i].width, 25);
        if (layout.georgiaButtons)
            b->setFont(pixelFont(QStringLiteral("Georgia"), 13));
        fitCaption(b);
        *buttons[i] = b;
    }

    setTabOrder(DBGrid1, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button4);
    DBGrid1->setFocus();

    connect(Button1, &QPushButton::clicked, this,
            guarded(this, &ReferenceListWindow::Button1Click));
    connect(Button2, &QPushButton::clicked, this,
            guarded(this, &ReferenceListWindow::Button2Click));
    connect(Button3, &QPushButton::clicked, this,
            guarded(this, &ReferenceListWindow::Button3Click));
    connect(Button4, &QPushButton::clicked, this,
            guarded(this, &ReferenceListWindow::Button4Click));
}

void ReferenceListWindow::Button1Click() {
    ReferenceEntryDialog* dialog = entryDialog();
    dialog->ADOTable1->Insert();
    showModal(dialog);
}

// On an empty table the cursor starts a new row instead; a row already pending stays as it is.
void ReferenceListWindow::Button2Click() {
    if (ADOTable1->State() == dsEdit || ADOTable1->State() == dsInsert)
        return;
    ADOTable1->Edit();
}

// A press that took the focus from an untouched new row in the grid has removed that row, which is
// what the dispatcher meant to delete.
void ReferenceListWindow::Button3Click() {
    if (DBGrid1->droppedNewRowFor(Button3))
        return;
    ADOTable1->Delete();
}

void ReferenceListWindow::Button4Click() {
    close();
}

// A change typed into the grid is not lost by closing: the row is finished as a move would
// finish it, and the window stays open if it cannot be posted.
void ReferenceListWindow::closeEvent(QCloseEvent* event) {
    if (finishRowOnClosing(*ADOTable1))
        event->accept();
    else
        event->ignore();
}
