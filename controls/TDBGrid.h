#pragma once
// The data grid: every row of a cursor as a table, changed, added and deleted in place. It reads
// the rows straight from the cursor (rowCount, valueAt) and draws only those in view, so a journal
// of a hundred thousand orders scrolls as fast as one of ten.
//
// The editing rules (the current cell, the in-place editor, what keys and clicks mean for the row)
// are GridEditing's; the grid draws, keeps its columns and geometry, and routes its events there.
// The code is split by concern: TDBGrid.cpp binding, geometry and scrolling; TDBGridPaint.cpp
// drawing; TDBGridKeys.cpp keys and the in-place editor; TDBGridMouse.cpp clicks and dragging
// titles; TDBGridAccessible.cpp what it tells accessibility tools.

#include "controls/GridEditing.h"
#include "controls/TDataSource.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPointer>
#include <vector>

namespace kavelon {

class GridEditor;

class TDBGrid : public QAbstractScrollArea, private GridEditing::View {
    Q_OBJECT
public:
    explicit TDBGrid(QWidget* parent = nullptr);
    ~TDBGrid() override;

    TDataSource* DataSource() const { return editing_.dataSource(); }
    void setDataSource(TDataSource* source);

    const QFont& TitleFont() const { return titleFont_; }
    void setTitleFont(const QFont& font);

    // Columns in the order shown; each shows one field of the cursor.
    int columnCount() const override { return int(columns_.size()); }
    int columnField(int column) const override;
    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);
    // Moves the column at `from` to stand at `to`; the current column goes with its field.
    void moveColumn(int from, int to);
    int currentColumn() const { return editing_.currentColumn(); }

    // The in-place editor: whether it is open, and its text.
    bool editorMode() const { return editing_.editorMode(); }
    QString editorText() const override;
    // Whether the editor's text was changed since it was last stored or refreshed.
    bool editorModified() const { return editing_.editorModified(); }

    // Rows of the cursor shown (0 without an open cursor), what a cell shows and a column's title.
    int rowCount() const;
    QString cellText(int row, int column) const;
    QString columnTitle(int column) const;

    // The first row in view and how many whole rows the grid shows.
    int topRow() const override { return topRow_; }
    int visibleRowCount() const override;
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
    friend class GridAccessible;

    struct Column {
        int field = 0;
        int width = 0;
    };

    // GridEditing::View
    void fieldsChanged() override;
    void revealRow() override;
    void revealColumn() override;
    void updateScrollBars() override;
    void changed() override;
    void showEditor() override;
    void focusEditor() override;
    void hideEditor() override;
    void placeEditor() override;
    void setEditorText(const QString& text, int maxLength, Qt::Alignment alignment) override;
    GridEditing::Caret editorCaret() const override;

    TableCursor* cursor() const { return editing_.cursor(); }
    bool active() const { return editing_.active(); }
    int currentRow() const { return editing_.currentRow(); }

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
    void positionEditor();

    // Drawing (TDBGridPaint.cpp).
    void paintTitles(class QPainter& p, const QRect& area) const;
    void paintRows(class QPainter& p, const QRect& area) const;
    void paintIndicator(class QPainter& p, const QRect& cell, int row) const;

    // Keys and the in-place editor (TDBGridKeys.cpp).
    bool editorKeyPress(QKeyEvent* event); // true when the grid took the key
    void editorFocusOut(QFocusEvent* event);
    void editorEdited();
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

    // Accessibility (TDBGridAccessible.cpp): tells the tools when the current cell moved, its
    // text changed or rows came and went.
    void announceChanges();

    GridEditing editing_{*this};
    TableCursor* columnsCursor_ = nullptr;
    QFont titleFont_;
    std::vector<Column> columns_;
    int topRow_ = 0;
    int rowHeight_ = 16;
    int titleHeight_ = 18;
    int indicatorWidth_ = 12;

    GridEditor* editor_ = nullptr;
    bool updatingScrollBars_ = false;
    QPointer<QWidget> droppedNewRowFor_;

    Drag drag_ = Drag::None;
    int dragColumn_ = -1;
    int dragTarget_ = -1;
    QPoint dragStart_;

    // What accessibility tools were last told.
    struct Announced {
        int row = -1;
        int column = -1;
        int rows = -1;
        int columns = -1;
        QString text;
    } announced_;
};

} // namespace kavelon
