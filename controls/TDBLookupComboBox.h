#pragma once
// The lookup box: sets one field of its cursor's current row (the bound field) to a key value
// chosen from the rows of a second cursor (the list cursor). The closed box shows the first list
// column of the list row whose key equals the bound value; the drop-down list shows the list
// columns of every row.

#include "controls/TDataSource.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

namespace kavelon {

class LookupList;

class TDBLookupComboBox : public QWidget, private DataLink {
    Q_OBJECT
public:
    explicit TDBLookupComboBox(QWidget* parent = nullptr);
    ~TDBLookupComboBox() override;

    TDataSource* DataSource() const { return dataSource_; }
    void setDataSource(TDataSource* source);
    const QString& DataField() const { return dataField_; }
    void setDataField(const QString& name);
    TDataSource* ListSource() const { return listSource_; }
    void setListSource(TDataSource* source);
    const QString& KeyField() const { return keyField_; }
    void setKeyField(const QString& name);
    // One or more list columns, separated by ";".
    const QString& ListField() const { return listField_; }
    void setListField(const QString& names);

    // What the closed box shows.
    const QString& Text() const { return text_; }
    bool listVisible() const { return open_; }
    // The drop-down list while it is open (also before, as a hidden widget).
    LookupList* list() const { return list_; }

    void DropDown();
    void CloseUp(bool choose);

    // Milliseconds of a monotonic clock, for the pause that starts a new search text.
    using Clock = std::function<qint64()>;
    void setClock(Clock clock);
    const QString& searchText() const { return searchText_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class LookupList;

    // DataLink of the bound side
    void dataFieldChanged(Field& field) override;
    void dataRowChanged() override;
    void dataRowsChanged() override;
    void dataScrolled(int distance) override;

    // The list side only repaints an open list.
    class ListLink : public DataLink {
    public:
        explicit ListLink(TDBLookupComboBox* box) : box_(box) {}
        void dataRowsChanged() override;
        void dataScrolled(int distance) override;

    private:
        TDBLookupComboBox* box_;
    };

    void paintBox();
    Field* boundField() const;
    TableCursor* listCursor() const;
    Field* listKeyField() const;
    std::vector<Field*> listFields() const;
    bool canModify() const;

    // Takes the bound value when it differs from the one last taken (force: in any case).
    void keyLookup(bool force = false);
    // Moves the list cursor to the first row holding this key as the bound field stores it;
    // false when none does.
    bool locateKey(const Value& key);
    // A list key matches a bound value when equal to it or, cut to the bound field's width, when
    // it gives that value.
    bool keyMatches(const Value& listKey, const Value& value) const;
    // The list key as the bound field would hold it.
    Value storedForm(const Value& listKey) const;
    // Moves the list cursor onto the row of the box's value, keeping it where it stands when that
    // row already holds the value (one of several rows with an equal key).
    bool findValueRow();
    QString listRowText() const;
    // Stores the key of the list cursor's current row into the bound field; false when the bound
    // row cannot take it.
    bool chooseListRow();
    void showStoredValue();
    void chooseNeighbour(int step);
    // A typed character of the incremental search; in the open list it only moves the highlight.
    void searchCharacter(QChar ch, bool inOpenList);

    // The open list's highlight, which the list cursor follows.
    void moveHighlightBy(int distance);
    void moveHighlightToFirst();
    void moveHighlightToLast();
    void highlightChanged();
    void listKeyPress(QKeyEvent* event);
    void listClosedOutside();

    QPointer<TDataSource> dataSource_;
    QPointer<TDataSource> listSource_;
    QString dataField_;
    QString keyField_;
    QString listField_;
    ListLink listLink_{this};

    Value value_; // the bound value the box last took
    bool hasValue_ = false;
    QString text_;
    bool choosing_ = false; // our own store into the bound field

    LookupList* list_ = nullptr;
    bool open_ = false;
    int openRow_ = -1; // the list cursor's row right after the list opened
    Value listValue_;  // the value the open list holds (rows with this key are highlighted)
    bool hasListValue_ = false; // false: no row highlighted

    Clock clock_;
    QString searchText_;
    qint64 lastSearchKey_ = 0;
    bool searchStarted_ = false;
};

} // namespace kavelon
