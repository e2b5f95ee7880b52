#pragma once
// The grid's editing rules, apart from any drawing: which cell is current, whether the in-place
// editor is open and whether its text was changed, and what a key, a click or a move means for
// the row being changed. The grid widget implements View, draws, and routes its events here.
//
// Moving the current row always goes through the cursor (MoveBy, First, Last, moveTo), whose
// browse-mode check asks for the editor to be stored and then posts or drops the row; nothing
// here posts. So a text that does not convert, or a row the engine refuses, stops the move before
// anything changed.

#include "controls/TDataSource.h"

#include <QPointer>
#include <QString>

namespace kavelon {

class GridEditing : private DataLink {
public:
    // Where the in-place editor's caret stands.
    struct Caret {
        int position = 0;
        int length = 0;          // of the whole text
        bool selection = false;  // some text is selected
        bool allSelected = true; // the whole text is selected (or there is none): typing replaces
    };

    // What the grid widget does for the rules: its columns, its rows in view, its in-place editor.
    class View {
    public:
        virtual ~View() = default;

        // The columns in the order shown, each with the cursor field it shows.
        virtual int columnCount() const = 0;
        virtual int columnField(int column) const = 0;
        // The first row in view and how many whole rows are shown.
        virtual int topRow() const = 0;
        virtual int visibleRowCount() const = 0;

        // The cursor's fields may be other ones (a cursor bound, opened or closed): the columns
        // are rebuilt when they differ, the current column going back to the first (placeColumn).
        virtual void fieldsChanged() = 0;
        // Scrolls the current row, or the current column, into view.
        virtual void revealRow() = 0;
        virtual void revealColumn() = 0;
        virtual void updateScrollBars() = 0;
        // What the grid shows changed (a value, the current cell, the row's state).
        virtual void changed() = 0;

        // The in-place editor over the current cell.
        virtual void showEditor() = 0;
        // Gives the editor the keyboard when the grid has it or its window is active.
        virtual void focusEditor() = 0;
        // Hides the editor; the grid takes the keyboard back when the editor had it.
        virtual void hideEditor() = 0;
        virtual void placeEditor() = 0;
        // Puts a field's text into the editor, all of it selected.
        virtual void setEditorText(const QString& text, int maxLength, Qt::Alignment alignment) = 0;
        virtual QString editorText() const = 0;
        virtual Caret editorCaret() const = 0;
    };

    // What became of a key.
    enum class KeyResult {
        Done,     // the grid took it
        Ignored,  // it means nothing to the grid: passed on to the parent
        ToEditor, // the in-place editor takes it (a typed character, a caret move)
        Refused,  // it would put into the field what the field does not take: dropped with a beep
    };

    explicit GridEditing(View& view);
    ~GridEditing() override;
    GridEditing(const GridEditing&) = delete;
    GridEditing& operator=(const GridEditing&) = delete;

    TDataSource* dataSource() const { return dataSource_; }
    // Binds to a data source; the view rebuilds its columns and follows the new cursor's row.
    void setDataSource(TDataSource* source);

    TableCursor* cursor() const;
    // Bound to an open cursor with columns to show.
    bool active() const;
    int currentColumn() const { return currentColumn_; }
    // The row the current cell stands on: the cursor's, or 0 in a cursor without rows.
    int currentRow() const;
    Field* currentField() const;

    bool editorMode() const { return editorMode_; }
    // Whether the editor's text was changed since it was last stored or refreshed.
    bool editorModified() const { return editorModified_; }
    // A new row nobody typed into: moving off it or leaving the grid drops it.
    bool untouchedNewRow() const;

    // A key pressed on the grid; text is what it types.
    KeyResult key(int key, Qt::KeyboardModifiers modifiers, const QString& text = {});
    // A key pressed in the open editor; pasteOrCut: it is the platform's paste or cut key.
    KeyResult editorKey(int key, Qt::KeyboardModifiers modifiers, const QString& text = {},
                        bool pasteOrCut = false);
    // The user changed the editor's text.
    void edited() { editorModified_ = true; }

    // Opens the editor on the current cell (or gives it the keyboard again).
    void openEditor();
    void closeEditor();
    // Puts the current field's text into the editor, dropping what was typed and not stored.
    void refreshEditor();
    // Stores the editor's text into its field when it was changed since the last store or
    // refresh. A text that does not convert throws; the field, the editor and the current cell
    // stay as they were.
    void storeEditor();

    // Moves to another column of the current row, storing the editor first.
    void goToColumn(int column);
    // Makes the column current (no store), refreshing an open editor.
    void setCurrentColumn(int column);
    // The columns were rebuilt or reordered: the current cell is now in this column.
    void placeColumn(int column) { currentColumn_ = column; }
    void upKey();
    bool downKey(); // false when it did nothing
    void nextCell(bool forward);
    void escapeKey();
    // Deletes the current row after the confirmation box.
    void deleteRecord();
    // Makes the row at this position of the cursor's view current.
    void moveToRow(int row);
    // The wheel: rows up (negative) or down.
    void moveBy(int distance);
    // A click on a cell of the row; column -1: on the row's indicator. hadFocus: the grid had
    // the keyboard before the click.
    void click(int row, int column, bool hadFocus);
    // The keyboard went to another control of the window: an untouched new row is dropped (true
    // then), else the editor is stored (which may throw).
    bool leave();

private:
    // DataLink
    void dataFieldChanged(Field& field) override;
    void dataRowChanged() override;
    void dataRowsChanged() override;
    void dataScrolled(int distance) override;
    void dataWritePendingChanges() override;
    void dataStateChanged() override;

    void followCursor();
    bool canChangeField(const Field& field) const;
    bool askToEdit();

    View& view_;
    QPointer<TDataSource> dataSource_;
    int currentColumn_ = 0;
    bool editorMode_ = false;
    bool editorModified_ = false;
    bool askingToEdit_ = false;
};

} // namespace kavelon
