#include "controls/GridEditor.h"

#include "app/Guard.h"
#include "controls/TDBGrid.h"

#include <QKeyEvent>

namespace kavelon {

GridEditor::GridEditor(TDBGrid* grid, QWidget* parent) : QLineEdit(parent), grid_(grid) {
    setObjectName(QStringLiteral("InplaceEditor"));
    setFrame(false);
    // Pastes and drops would slip past the grid's ask-to-edit; only keys change the text.
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    hide();
    connect(this, &QLineEdit::textEdited, this, [this] { grid_->editorEdited(); });
}

bool GridEditor::allSelected() const {
    return text().isEmpty() || (selectionStart() == 0 && selectedText().size() == text().size());
}

bool GridEditor::event(QEvent* event) {
    bool result = true;
    guard([&] {
        // Tab moves between cells, not between the window's controls.
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
                keyPressEvent(key);
                return;
            }
        }
        result = QLineEdit::event(event);
    });
    return result;
}

void GridEditor::keyPressEvent(QKeyEvent* event) {
    bool taken = true;
    guard([&] { taken = grid_->editorKeyPress(event); });
    if (!taken)
        guard([&] { QLineEdit::keyPressEvent(event); });
}

void GridEditor::focusOutEvent(QFocusEvent* event) {
    guard([&] { QLineEdit::focusOutEvent(event); });
    grid_->editorFocusOut(event);
}

} // namespace kavelon
