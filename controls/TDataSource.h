#pragma once
// The data source: ties the controls of a window to one cursor. It observes the cursor and passes
// each notification on to its controls, and it is the one place where a control's wish to change
// the row ("ask to edit") becomes a cursor Edit.

#include "data/TableCursor.h"

#include <QObject>
#include <vector>

namespace kavelon {

// A control bound to a data source. The defaults ignore a notification.
class DataLink {
public:
    virtual ~DataLink() = default;
    virtual void dataFieldChanged(Field& field) { (void)field; }
    virtual void dataRowChanged() {}
    virtual void dataRowsChanged() {}
    virtual void dataScrolled(int distance) { (void)distance; }
    // May throw (a conversion error); the throw ends the cursor operation that asked.
    virtual void dataWritePendingChanges() {}
    virtual void dataStateChanged() {}
};

class TDataSource : public QObject, public CursorObserver {
    Q_OBJECT
public:
    explicit TDataSource(QObject* parent = nullptr);
    // Its controls show nothing from here on, as without a cursor.
    ~TDataSource() override;

    // The cursor, nullptr without one. A cursor that is destroyed is forgotten, and the
    // controls are told as when the data set is set to none.
    TableCursor* DataSet() const { return dataSet_; }
    void setDataSet(TableCursor* cursor);

    bool AutoEdit() const { return autoEdit_; }
    void setAutoEdit(bool autoEdit) { autoEdit_ = autoEdit; }

    // DataSet's state, dsInactive without a cursor.
    DataSetState State() const;
    // Asks to edit: Edit on a browsing cursor when AutoEdit holds. True when the row can then be
    // changed (the cursor is in dsEdit or dsInsert); false, without an error, when the cursor's
    // rows cannot be changed at all.
    bool Edit();
    bool editing() const;

    void addLink(DataLink* link);
    void removeLink(DataLink* link);

    // CursorObserver
    void fieldChanged(Field& field) override;
    void rowChanged() override;
    void rowsChanged() override;
    void scrolled(int distance) override;
    void writePendingChanges() override;
    void stateChanged() override;
    void cursorDestroyed(TableCursor& cursor) override;

private:
    template <typename F> void forEachLink(F&& f);
    // The controls show the cursor now set (or none).
    void showDataSet();

    TableCursor* dataSet_ = nullptr;
    bool autoEdit_ = true;
    std::vector<DataLink*> links_;
};

} // namespace kavelon
