#pragma once
// The design the four reference lists share ("Клиенты", "Населённые пункты", "Транспортные
// средства", "Водители"): the table in a grid, changed in place, and a panel with "Добавить",
// "Редактировать", "Удалить" and "Закрыть". Each list supplies its layout and its entry dialog.

#include "data/Schema.h"
#include "data/TableCursor.h"
#include "windows/common/DesignPlaces.h"

#include <QRect>
#include <QWidget>
#include <memory>

class QFrame;
class QPushButton;

namespace kavelon {
class TDataSource;
class TDBGrid;
} // namespace kavelon

class ReferenceEntryDialog;

struct ListButton {
    int left;
    int width;
};

// Everything in which the four lists differ.
struct ListLayout {
    const char* objectName;
    QString caption;
    QString table;
    const kavelon::TableSchema& (*columns)();
    DesignSize client;
    // No place: the grid spans the top edge, full width, gridHeight high.
    DesignRect gridPlace;
    int gridHeight;
    int panelHeight;
    int buttonTop;
    ListButton buttons[4];
    bool georgiaButtons; // "Georgia" 13 px, else the window's font
};

class ReferenceListWindow : public QWidget {
    Q_OBJECT
public:
    const std::unique_ptr<kavelon::TableCursor> ADOTable1;
    kavelon::TDataSource* DataSource1 = nullptr;
    kavelon::TDBGrid* DBGrid1 = nullptr;
    QFrame* Panel1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

protected:
    explicit ReferenceListWindow(const ListLayout& layout);
    // The dialog that takes this list's new rows; it exists by the time a button is pressed.
    virtual ReferenceEntryDialog* entryDialog() const = 0;
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpComponents(const ListLayout& layout);
};
