#pragma once
// The data grid: every row of a cursor as a table, changed, added and deleted in place. It reads
// the rows straight from the cursor (rowCount, valueAt) and draws only those in view, so a journal
// of a hundred thousand orders scrolls as fast as one of ten.
//
// The grid's code is split by concern: TDBGrid.cpp binding, notifications, geometry and scrolling;
// TDBGridPaint.cpp drawing; TDBGridKeys.cpp keys, the in-place editor and storing; TDBGridMouse.cpp
// clicks and dragging titles.

#include "controls/TDataSource.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPointer>
#include <vector>

namespace kavelon {

class GridEditor;

class TDBGrid : public QAbstractScrollArea, private DataLink {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget* parent = nullptr);
    ~TDBGrid() override;

    TDataSource* DataSource() const { return dataSource_; }
    void setDataSource(TDataSource* source);

    const QFont& TitleFont() const { return titleFont_; }
    void setTitleFont(const QFont& font);

    // Columns in the order shown; each shows one field of the cursor.
    int columnCount() const { return int(columns_.size()); }
    int columnField(int column) const;
    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);
    // Moves the column at `from` to stand at `to`; the current column goes with its field.
    void moveColumn(int from, int to);
    int currentColumn() const { return currentColumn_; }

    // The in-place editor: whether it is open, and its text.
    bool editorMode() const { return editorMode_; }
    QString editorText() const;
    // Whether the editor's text was changed since it was last stored or refreshed.
    bool editorModified() const { return editorModified_; }

    // The first row in view and how many whole rows the grid shows.
    int topRow() const { return topRow_; }
    int visibleRowCount() const;
    // Where a cell, a title and the indicator of a row stand, in viewport coordinates.
    QRect cellRect(int row, int column) const;
    QRect titleRect(int column) const;
    int rowHeight() const { return rowHeight_; }
    int titleHeight() const { return titleHeight_; }

    // Whether the focus going from the grid to widget dropped an untouched new row, the focus
    // having stayed on widget since. Answered once, for the action of that control: the row the
    // user meant it for is gone already.
    bool droppedNewRowFor(const QWidget* widget);

protected:
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class GridEditor;

    struct Column {
        int field = 0;
        int width = 0;
    };

    // DataLink
    void dataFieldChanged(Field& field) override;
    void dataRowChanged() override;
    void dataRowsChanged() override;
    void dataScrolled(int distance) override;
    void dataWritePendingChanges() override;
    void dataStateChanged() override;

    TableCursor* cursor() const;
    bool active() const;
    Field* currentField() const;
    // The row the current cell stands on: the cursor's, or 0 in a cursor without rows.
    int currentRow() const;

    // Columns and geometry (TDBGrid.cpp).
    void syncColumns();
    int defaultWidth(const Field& field) const;
    void measure();
    int dataLeft() const; // x where the first data column starts, scrolling included
    int columnLeft(int column) const;
    int rowTop(int row) const;
    int dataWidth() const;
    void ensureCurrentRowVisible();
    void ensureColumnVisible(int column);
    void updateScrollBars();
    void followCursor(); // after any notification that moves rows
    void positionEditor();

    // Drawing (TDBGridPaint.cpp).
    void paintTitles(class QPainter& p, const QRect& area) const;
    void paintRows(class QPainter& p, const QRect& area) const;
    void paintIndicator(class QPainter& p, const QRect& cell, int row) const;

    // Keys and editing (TDBGridKeys.cpp).
    void handleKey(QKeyEvent* event);
    bool editorKeyPress(QKeyEvent* event); // true when the grid took the key
    void editorFocusOut(QFocusEvent* event);
    void editorEdited();
    void openEditor();
    void closeEditor();
    void refreshEditor();
    void storeEditor();
    bool untouchedNewRow() const;
    bool canChangeField(const Field& field) const;
    bool askToEdit();
    void goToColumn(int column); // stores the editor first
    void setCurrentColumn(int column);
    void upKey();
    bool downKey(); // false when it did nothing
    void nextCell(bool forward);
    void escapeKey();
    void deleteRecord();
    void moveToRow(int row);
    void leaveGrid(Qt::FocusReason reason);
    void keepFocusAfterError(Qt::FocusReason reason);

    // Mouse (TDBGridMouse.cpp).
    enum class Drag { None, Pending, Moving, Resizing };
    int columnAt(int x) const; // -1 outside the data columns
    int rowAt(int y) const;    // -1 in the title row or below the last row
    int resizeEdgeAt(const QPoint& pos) const;
    void mousePress(QMouseEvent* event);
    void mouseMove(QMouseEvent* event);
    void mouseRelease(QMouseEvent* event);

    QPointer<TDataSource> dataSource_;
    TableCursor* columnsCursor_ = nullptr;
    QFont titleFont_;
    std::vector<Column> columns_;
    int currentColumn_ = 0;
    int topRow_ = 0;
    int rowHeight_ = 16;
    int titleHeight_ = 18;
    int indicatorWidth_ = 12;

    GridEditor* editor_ = nullptr;
    bool editorMode_ = false;
    bool editorModified_ = false;
    bool askingToEdit_ = false;
    bool updatingScrollBars_ = false;
    QPointer<QWidget> droppedNewRowFor_;

    Drag drag_ = Drag::None;
    int dragColumn_ = -1;
    int dragTarget_ = -1;
    QPoint dragStart_;
};

} // namespace kavelon
