// The grid's keys and its in-place editor: the keys go to the editing rules (GridEditing), the
// editor widget is shown, placed, filled and focused here.

#include "app/Guard.h"
#include "controls/GridEditor.h"
#include "controls/RefusedFocus.h"
#include "controls/TDBGrid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>

namespace kavelon {

void TDBGrid::keyPressEvent(QKeyEvent* event) {
    guard([&] {
        switch (editing_.key(event->key(), event->modifiers(), event->text())) {
        case GridEditing::KeyResult::Ignored:
            event->ignore();
            break;
        case GridEditing::KeyResult::ToEditor:
            QCoreApplication::sendEvent(editor_, event);
            break;
        case GridEditing::KeyResult::Refused:
            QApplication::beep();
            break;
        case GridEditing::KeyResult::Done:
            break;
        }
    });
}

bool TDBGrid::editorKeyPress(QKeyEvent* event) {
    const int key = event->key();
    const bool pasteOrCut =
        event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut);
    switch (editing_.editorKey(key, event->modifiers(), event->text(), pasteOrCut)) {
    case GridEditing::KeyResult::ToEditor:
        return false;
    case GridEditing::KeyResult::Ignored:
        event->ignore();
        return true;
    case GridEditing::KeyResult::Refused:
        QApplication::beep();
        return true;
    case GridEditing::KeyResult::Done:
        return true;
    }
    return true;
}

QString TDBGrid::editorText() const {
    return editor_->text();
}

void TDBGrid::editorEdited() {
    editing_.edited();
}

void TDBGrid::editorFocusOut(QFocusEvent* event) {
    viewport()->update();
    leaveGrid(event->reason());
}

GridEditing::Caret TDBGrid::editorCaret() const {
    GridEditing::Caret caret;
    caret.position = editor_->cursorPosition();
    caret.length = int(editor_->text().size());
    caret.selection = editor_->hasSelectedText();
    caret.allSelected = editor_->allSelected();
    return caret;
}

void TDBGrid::showEditor() {
    editor_->show();
}

void TDBGrid::focusEditor() {
    if (hasFocus() || window()->isActiveWindow())
        editor_->setFocus(Qt::OtherFocusReason);
}

void TDBGrid::hideEditor() {
    if (editor_->hasFocus())
        setFocus(Qt::OtherFocusReason);
    editor_->hide();
}

void TDBGrid::setEditorText(const QString& text, int maxLength, Qt::Alignment alignment) {
    editor_->setMaxLength(maxLength);
    editor_->setAlignment(alignment);
    editor_->setText(text);
    editor_->selectAll();
}

// The focus went elsewhere. Only a move to another control of this window counts: a box, a menu
// or another window coming up leaves everything as it is.
void TDBGrid::leaveGrid(Qt::FocusReason reason) {
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
        reason == Qt::MenuBarFocusReason)
        return;
    QWidget* next = QApplication::focusWidget();
    if (next && (next == this || isAncestorOf(next) || next->window() != window()))
        return;
    bool finished = false;
    guard([&] {
        if (editing_.leave())
            droppedNewRowFor_ = next;
        finished = true;
    });
    if (!finished)
        keepFocusAfterError(reason);
}

void TDBGrid::keepFocusAfterError(Qt::FocusReason reason) {
    if (editorMode())
        editor_->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
    // The user, who has just read the error box, does not also get the button's action.
    if (reason == Qt::MouseFocusReason)
        dropPressOnItsWay();
}

} // namespace kavelon
