#pragma once
// What the four dialogs that add a reference row share: the cursor the list window starts the
// new row on, "Добавить" that stores it and has the list read its rows again, "Отмена" (and the
// close box) that drops it. TForm6, TForm8 and TForm10 are one design of labelled edits, each
// checked for text before the row is stored; the driver dialog TForm12 builds its own controls.

#include "controls/TDataSource.h"
#include "data/TableCursor.h"
#include "windows/common/DesignPlaces.h"

#include <QWidget>
#include <memory>

class QLabel;
class QPushButton;

namespace kavelon {
class TDBEdit;
} // namespace kavelon

class ReferenceEntryDialog : public QWidget {
    Q_OBJECT
public:
    ~ReferenceEntryDialog() override;

    const std::unique_ptr<kavelon::TableCursor> ADOTable1;
    const std::unique_ptr<kavelon::TDataSource> DataSource1;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

    virtual void Button1Click() = 0;
    void Button2Click();
    void FormClose();

protected:
    ReferenceEntryDialog(const char* objectName, const QString& caption, const QString& table,
                         QSize client);
    // The cursor of the list window that shows this dialog's rows.
    virtual kavelon::TableCursor& listCursor() const = 0;
    // Stores the row, closes the dialog and has the list read its rows again. On an error the
    // dialog stays open and the row pending.
    void saveAndRequery();
    // "Добавить" and "Отмена", neither a default button; then the signals through the guard.
    void addButtons(QRect add, QRect cancel, const QFont& font);
    void closeEvent(QCloseEvent* event) override;
};

// One row of the labelled-edit design: the label, its place, and the edit bound to a column.
struct EntryRow {
    QString label;
    DesignPoint labelAt;
    QString field;
    DesignRect edit;
};

struct EntryLayout {
    const char* objectName;
    QString caption;
    QString table;
    DesignSize client;
    QFont labelFont;
    std::vector<EntryRow> rows; // at most five
    DesignRect add;
    DesignRect cancel;
    bool georgiaButtons; // "Georgia" 13 px, else the window's font
};

class LabelledEntryDialog : public ReferenceEntryDialog {
    Q_OBJECT
public:
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    kavelon::TDBEdit* DBEdit1 = nullptr;
    kavelon::TDBEdit* DBEdit2 = nullptr;
    kavelon::TDBEdit* DBEdit3 = nullptr;
    kavelon::TDBEdit* DBEdit4 = nullptr;
    kavelon::TDBEdit* DBEdit5 = nullptr;

    // Every edit must show some text, blanks included; then the row is stored.
    void Button1Click() override;

protected:
    explicit LabelledEntryDialog(const EntryLayout& layout);

private:
    std::vector<kavelon::TDBEdit*> edits_;
};

// Helpers the dialogs build their controls with.
namespace entry {
// A label sized to its text; one wider than room (when given) is set narrower, so that the face
// standing in for the designed one does not run into the control beside it.
QLabel* label(QWidget* parent, const QString& name, const QString& caption, QPoint at,
              const QFont& font, int room = 0);
kavelon::TDBEdit* dbEdit(QWidget* parent, const QString& name, QRect geometry,
                         kavelon::TDataSource* source, const QString& field);
} // namespace entry
