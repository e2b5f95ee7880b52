// The grid's keys, its in-place editor and storing typed text into fields.
//
// Moving the current row always goes through the cursor (MoveBy, First, Last, moveTo), whose
// browse-mode check asks the grid to store its editor and then posts or drops the row; the grid
// itself never posts. So a text that does not convert, or a row the engine refuses, stops the
// move before anything changed.

#include "app/Guard.h"
#include "controls/GridEditor.h"
#include "controls/RefusedFocus.h"
#include "controls/TDBGrid.h"
#include "data/FieldText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <algorithm>

namespace kavelon {

void TDBGrid::keyPressEvent(QKeyEvent* event) {
    guard([&] { handleKey(event); });
}

void TDBGrid::handleKey(QKeyEvent* event) {
    TableCursor* c = cursor();
    if (!active()) {
        event->ignore();
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const int lastInView = std::min(topRow_ + visibleRowCount(), c->rowCount()) - 1;
    switch (event->key()) {
    case Qt::Key_Up:
        ctrl ? moveToRow(topRow_) : upKey();
        break;
    case Qt::Key_Down:
        if (ctrl)
            moveToRow(lastInView);
        else
            downKey();
        break;
    case Qt::Key_PageUp:
        if (ctrl)
            moveToRow(topRow_);
        else
            c->MoveBy(-visibleRowCount());
        break;
    case Qt::Key_PageDown:
        if (ctrl)
            moveToRow(lastInView);
        else
            c->MoveBy(visibleRowCount());
        break;
    case Qt::Key_Home:
        ctrl ? c->First() : goToColumn(0);
        break;
    case Qt::Key_End:
        ctrl ? c->Last() : goToColumn(columnCount() - 1);
        break;
    case Qt::Key_Left:
        goToColumn(ctrl ? 0 : currentColumn_ - 1);
        break;
    case Qt::Key_Right:
        goToColumn(ctrl ? columnCount() - 1 : currentColumn_ + 1);
        break;
    case Qt::Key_Tab:
        nextCell(!shift);
        break;
    case Qt::Key_Backtab:
        nextCell(false);
        break;
    case Qt::Key_Insert:
        if (mods == Qt::NoModifier)
            c->Insert();
        else
            event->ignore();
        break;
    case Qt::Key_Delete:
        if (ctrl)
            deleteRecord();
        else
            event->ignore();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (editorMode_) {
            storeEditor();
            closeEditor();
        } else {
            openEditor();
        }
        break;
    case Qt::Key_F2:
        openEditor();
        break;
    case Qt::Key_Escape:
        escapeKey();
        break;
    default: {
        const QString text = event->text();
        const bool typing = !text.isEmpty() && text.front().isPrint() &&
                            !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (!typing) {
            event->ignore();
            return;
        }
        // A typed character opens the editor and goes into it, replacing the selected text.
        openEditor();
        if (editorMode_)
            QCoreApplication::sendEvent(editor_, event);
    }
    }
}

bool TDBGrid::editorKeyPress(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const int key = event->key();
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2:
        handleKey(event);
        return true;
    case Qt::Key_Insert:
        if (mods == Qt::NoModifier) {
            handleKey(event);
            return true;
        }
        break;
    case Qt::Key_Delete:
        if (ctrl) {
            handleKey(event);
            return true;
        }
        break;
    // The arrows move the caret inside a text being changed and leave the cell from its edges
    // or when the whole text is selected.
    case Qt::Key_Left:
    case Qt::Key_Home:
        if (ctrl || editor_->allSelected() ||
            (editor_->cursorPosition() == 0 && !editor_->hasSelectedText())) {
            handleKey(event);
            return true;
        }
        return false;
    case Qt::Key_Right:
    case Qt::Key_End:
        if (ctrl || editor_->allSelected() ||
            (editor_->cursorPosition() == editor_->text().size() && !editor_->hasSelectedText())) {
            handleKey(event);
            return true;
        }
        return false;
    default:
        break;
    }

    Field* field = currentField();
    if (!field)
        return true;
    const QString text = event->text();
    const bool typing = !text.isEmpty() && text.front().isPrint() &&
                        !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const bool deleting = key == Qt::Key_Backspace || key == Qt::Key_Delete ||
                          event->matches(QKeySequence::Paste) ||
                          event->matches(QKeySequence::Cut) || (key == Qt::Key_Insert && shift);
    if (!typing && !deleting)
        return false;
    if (!canChangeField(*field)) {
        // Nothing here can change: what the field would take is dropped silently (an auto-number
        // takes digits), anything else with a beep.
        const FieldKind kind =
            field->kind() == FieldKind::AutoInc ? FieldKind::Integer : field->kind();
        if (typing && !fieldtext::accepts(kind, text.front()))
            QApplication::beep();
        return true;
    }
    if (typing && !fieldtext::accepts(field->kind(), text.front())) {
        QApplication::beep();
        return true;
    }
    return !askToEdit();
}

QString TDBGrid::editorText() const {
    return editor_->text();
}

void TDBGrid::editorEdited() {
    editorModified_ = true;
}

void TDBGrid::editorFocusOut(QFocusEvent* event) {
    viewport()->update();
    leaveGrid(event->reason());
}

bool TDBGrid::canChangeField(const Field& field) const {
    const TableCursor* c = cursor();
    return c && c->CanModify() && !field.ReadOnly() && dataSource_ &&
           (dataSource_->editing() || dataSource_->AutoEdit());
}

bool TDBGrid::askToEdit() {
    if (dataSource_->editing())
        return true;
    // The editor already holds the field's text; the row turning into the pending row must not
    // reset the caret under the key being typed.
    askingToEdit_ = true;
    try {
        dataSource_->Edit();
    } catch (...) {
        askingToEdit_ = false;
        throw;
    }
    askingToEdit_ = false;
    positionEditor();
    return dataSource_->editing();
}

void TDBGrid::openEditor() {
    if (!active() || !currentField())
        return;
    if (!editorMode_) {
        editorMode_ = true;
        ensureCurrentRowVisible();
        ensureColumnVisible(currentColumn_);
        refreshEditor();
        editor_->show();
    }
    if (hasFocus() || window()->isActiveWindow())
        editor_->setFocus(Qt::OtherFocusReason);
    viewport()->update();
}

void TDBGrid::closeEditor() {
    if (!editorMode_)
        return;
    editorMode_ = false;
    editorModified_ = false;
    if (editor_->hasFocus())
        setFocus(Qt::OtherFocusReason);
    editor_->hide();
    viewport()->update();
}

// Puts the current field's text into the editor, dropping what was typed and not stored.
void TDBGrid::refreshEditor() {
    if (!editorMode_ || askingToEdit_)
        return;
    const Field* field = currentField();
    if (!field) {
        closeEditor();
        return;
    }
    const TableCursor* c = cursor();
    const int row = c->currentIndex();
    const Value value = row >= 0 ? c->valueAt(row, field->index()) : Value();
    editor_->setMaxLength(
        field->kind() == FieldKind::WideString && field->Size() > 0 ? field->Size() : 32767);
    editor_->setAlignment(fieldtext::alignment(field->kind()));
    editor_->setText(fieldtext::display(value, field->kind()));
    editor_->selectAll();
    editorModified_ = false;
    positionEditor();
}

// Stores the editor's text into its field when it was changed since the last store or refresh.
// A text that does not convert throws; the field, the editor and the current cell stay as they
// were.
void TDBGrid::storeEditor() {
    if (!editorMode_ || !editorModified_)
        return;
    Field* field = currentField();
    if (!field)
        return;
    field->setValue(fieldtext::parse(editor_->text(), field->kind(), field->FieldName()));
    editorModified_ = false;
}

bool TDBGrid::untouchedNewRow() const {
    const TableCursor* c = cursor();
    return c && c->State() == dsInsert && !c->Modified() && !editorModified_;
}

void TDBGrid::goToColumn(int column) {
    column = std::clamp(column, 0, columnCount() - 1);
    if (column == currentColumn_)
        return;
    storeEditor();
    setCurrentColumn(column);
}

void TDBGrid::setCurrentColumn(int column) {
    currentColumn_ = std::clamp(column, 0, std::max(0, columnCount() - 1));
    ensureColumnVisible(currentColumn_);
    refreshEditor();
    viewport()->update();
}

void TDBGrid::upKey() {
    TableCursor* c = cursor();
    if (untouchedNewRow() && c->currentIndex() == c->rowCount() - 1) {
        c->Cancel();
        return;
    }
    c->MoveBy(-1);
}

bool TDBGrid::downKey() {
    TableCursor* c = cursor();
    if (untouchedNewRow()) {
        if (c->currentIndex() == c->rowCount() - 1)
            return false;
        c->Cancel();
        return true;
    }
    if (c->MoveBy(1) != 0)
        return true;
    // Beyond the last row: a new row at the end, unless nothing can be added.
    if (!c->CanModify())
        return false;
    c->Append();
    return true;
}

void TDBGrid::nextCell(bool forward) {
    if (forward) {
        if (currentColumn_ < columnCount() - 1) {
            goToColumn(currentColumn_ + 1);
            return;
        }
        storeEditor();
        if (downKey())
            setCurrentColumn(0);
        return;
    }
    if (currentColumn_ > 0) {
        goToColumn(currentColumn_ - 1);
        return;
    }
    if (cursor()->currentIndex() <= 0)
        return;
    storeEditor();
    upKey();
    setCurrentColumn(columnCount() - 1);
}

void TDBGrid::escapeKey() {
    if (editorMode_ && editorModified_) {
        refreshEditor();
        closeEditor();
        return;
    }
    closeEditor();
    if (TableCursor* c = cursor(); c->State() == dsEdit || c->State() == dsInsert)
        c->Cancel();
}

void TDBGrid::deleteRecord() {
    TableCursor* c = cursor();
    if (c->rowCount() == 0)
        return;
    if (messages().confirm(QStringLiteral("Confirm"), QStringLiteral("Delete record?")) !=
        MessageSeam::Answer::Ok)
        return;
    c->Delete();
}

void TDBGrid::moveToRow(int row) {
    TableCursor* c = cursor();
    if (!c || !c->Active() || row < 0 || row >= c->rowCount() || row == c->currentIndex())
        return;
    c->moveTo(row);
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
        if (active()) {
            if (untouchedNewRow()) {
                cursor()->Cancel();
                droppedNewRowFor_ = next;
            } else {
                storeEditor();
            }
        }
        finished = true;
    });
    if (!finished)
        keepFocusAfterError(reason);
}

void TDBGrid::keepFocusAfterError(Qt::FocusReason reason) {
    if (editorMode_)
        editor_->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
    // The user, who has just read the error box, does not also get the button's action.
    if (reason == Qt::MouseFocusReason)
        dropPressOnItsWay();
}

} // namespace kavelon
