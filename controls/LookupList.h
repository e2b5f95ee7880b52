#pragma once
// The drop-down list of a lookup box: a popup as wide as the box showing the list cursor's rows,
// its list columns side by side. The list cursor's current row is the list's highlight; the box
// decides what keys and choices mean, the list draws and turns the mouse into highlight moves.

#include <QTimer>
#include <QWidget>

class QScrollBar;

namespace kavelon {

class TDBLookupComboBox;

class LookupList : public QWidget {
    Q_OBJECT
public:
    explicit LookupList(TDBLookupComboBox* box);

    // Sizes the list for the box and shows it below the box, or above when there is no room.
    void popup();
    // The list cursor's current row moved or its rows changed: scroll it into view and repaint.
    void currentMoved();

    int visibleRows() const;
    int rowHeight() const;
    int topRow() const { return top_; }
    // Left edges of the shown columns, and the right edge of the last one.
    std::vector<int> columnEdges() const;

    // The list cursor's rows, a row's list columns as text, whether it is highlighted (every row
    // holding the highlighted key is), and where it stands in the list (empty when scrolled out).
    int rowCount() const;
    QString rowText(int row) const;
    bool rowHighlighted(int row) const;
    // The highlighted current row of the list cursor, or -1 while no row is highlighted.
    int highlightedRow() const;
    QRect rowRect(int row) const;
    // The row at a point of the list, or -1.
    int rowAt(const QPoint& point) const;

    // True once after a press outside the list that landed on the box: that press closed the
    // list and must not open it again.
    bool takeClosingPress();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void paintRows();
    int textWidth() const; // width left of the scroll bar
    void scrollTo(int top);
    // Highlights the row under the pointer (y in list coordinates).
    void dragTo(int y);
    // Tells accessibility tools when another row is highlighted.
    void announceHighlight();

    TDBLookupComboBox* box_;
    QScrollBar* scrollBar_;
    QTimer dragScroll_;
    int dragStep_ = 0;
    int top_ = 0;
    bool dragging_ = false;
    bool closingPress_ = false;
    int announcedRow_ = -1; // the highlighted row accessibility tools were last told of
};

} // namespace kavelon
