#pragma once
// The grid's in-place editor: a frameless line edit over the current cell. It owns no rules of
// its own; every key goes to the grid first, which decides what the editor may take.

#include <QLineEdit>

namespace kavelon {

class TDBGrid;

class GridEditor : public QLineEdit {
    Q_OBJECT
public:
    explicit GridEditor(TDBGrid* grid, QWidget* parent);

    // The whole text is selected, so a typed character replaces it.
    bool allSelected() const;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    TDBGrid* grid_;
};

} // namespace kavelon
