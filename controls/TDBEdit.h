#pragma once
// The data-bound edit: shows one field of its cursor's current row and lets the user change it.
// It stays read-only while the cursor browses; the first change the user makes asks the data
// source to edit. Typed text reaches the field when the focus moves to another control of the
// window and when the cursor asks for pending changes to be written.

#include "controls/TDataSource.h"

#include <QLineEdit>
#include <QPointer>

namespace kavelon {

class TDBEdit : public QLineEdit, private DataLink {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget* parent = nullptr);
    ~TDBEdit() override;

    TDataSource* DataSource() const { return dataSource_; }
    void setDataSource(TDataSource* source);
    const QString& DataField() const { return dataField_; }
    void setDataField(const QString& name);

    // The bound field, nullptr while unbound or when the cursor has no such field.
    Field* field() const;
    // Whether typing may change the field (bound, open, field not read-only).
    bool canModify() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // DataLink
    void dataFieldChanged(Field& field) override;
    void dataRowChanged() override;
    void dataRowsChanged() override;
    void dataScrolled(int distance) override;
    void dataWritePendingChanges() override;
    void dataStateChanged() override;

    // Shows the field's stored text, dropping what was typed and not stored.
    void refresh();
    void updateLook();
    // Stores the typed text into the field when it changed since the last store or refresh.
    void storeText();
    // Asks the data source to edit; true when the key that asked may take effect.
    bool askToEdit();
    // After a failed store on leaving: the focus comes back and a click that took it is dropped.
    void keepFocusAfterError(Qt::FocusReason reason);

    QPointer<TDataSource> dataSource_;
    QString dataField_;
    bool modified_ = false; // typed since the last store or refresh
};

} // namespace kavelon
