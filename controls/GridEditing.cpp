#include "controls/GridEditing.h"

#include "app/Messages.h"
#include "data/FieldText.h"

#include <algorithm>

namespace kavelon {

namespace {

// A character typed without a command modifier.
bool typesCharacter(const QString& text, Qt::KeyboardModifiers mods) {
    return !text.isEmpty() && text.front().isPrint() &&
           !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

} // namespace

GridEditing::GridEditing(View& view) : view_(view) {}

GridEditing::~GridEditing() {
    if (dataSource_)
        dataSource_->removeLink(this);
}

void GridEditing::setDataSource(TDataSource* source) {
    if (dataSource_ == source)
        return;
    if (dataSource_)
        dataSource_->removeLink(this);
    dataSource_ = source;
    if (dataSource_)
        dataSource_->addLink(this);
    view_.fieldsChanged();
    followCursor();
}

TableCursor* GridEditing::cursor() const {
    return dataSource_ ? dataSource_->DataSet() : nullptr;
}

bool GridEditing::active() const {
    const TableCursor* c = cursor();
    return c && c->Active() && view_.columnCount() > 0;
}

int GridEditing::currentRow() const {
    const TableCursor* c = cursor();
    return c ? std::max(c->currentIndex(), 0) : 0;
}

Field* GridEditing::currentField() const {
    if (!active() || currentColumn_ < 0 || currentColumn_ >= view_.columnCount())
        return nullptr;
    return &cursor()->Fields(view_.columnField(currentColumn_));
}

bool GridEditing::untouchedNewRow() const {
    const TableCursor* c = cursor();
    return c && c->State() == dsInsert && !c->Modified() && !editorModified_;
}

// ---- keys --------------------------------------------------------------------------------------

GridEditing::KeyResult GridEditing::key(int key, Qt::KeyboardModifiers modifiers,
                                        const QString& text) {
    TableCursor* c = cursor();
    if (!active())
        return KeyResult::Ignored;
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const int top = view_.topRow();
    const int page = view_.visibleRowCount();
    const int lastInView = std::min(top + page, c->rowCount()) - 1;
    switch (key) {
    case Qt::Key_Up:
        ctrl ? moveToRow(top) : upKey();
        break;
    case Qt::Key_Down:
        if (ctrl)
            moveToRow(lastInView);
        else
            downKey();
        break;
    case Qt::Key_PageUp:
        if (ctrl)
            moveToRow(top);
        else
            c->MoveBy(-page);
        break;
    case Qt::Key_PageDown:
        if (ctrl)
            moveToRow(lastInView);
        else
            c->MoveBy(page);
        break;
    case Qt::Key_Home:
        ctrl ? c->First() : goToColumn(0);
        break;
    case Qt::Key_End:
        ctrl ? c->Last() : goToColumn(view_.columnCount() - 1);
        break;
    case Qt::Key_Left:
        goToColumn(ctrl ? 0 : currentColumn_ - 1);
        break;
    case Qt::Key_Right:
        goToColumn(ctrl ? view_.columnCount() - 1 : currentColumn_ + 1);
        break;
    case Qt::Key_Tab:
        nextCell(!shift);
        break;
    case Qt::Key_Backtab:
        nextCell(false);
        break;
    case Qt::Key_Insert:
        if (mods != Qt::NoModifier)
            return KeyResult::Ignored;
        c->Insert();
        break;
    case Qt::Key_Delete:
        if (!ctrl)
            return KeyResult::Ignored;
        deleteRecord();
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
    default:
        if (!typesCharacter(text, mods))
            return KeyResult::Ignored;
        // A typed character opens the editor and goes into it, replacing the selected text.
        openEditor();
        return editorMode_ ? KeyResult::ToEditor : KeyResult::Done;
    }
    return KeyResult::Done;
}

GridEditing::KeyResult GridEditing::editorKey(int key, Qt::KeyboardModifiers modifiers,
                                              const QString& text, bool pasteOrCut) {
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
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
        return this->key(key, modifiers, text);
    case Qt::Key_Insert:
        if (mods == Qt::NoModifier)
            return this->key(key, modifiers, text);
        break;
    case Qt::Key_Delete:
        if (ctrl)
            return this->key(key, modifiers, text);
        break;
    // The arrows move the caret inside a text being changed and leave the cell from its edges
    // or when the whole text is selected.
    case Qt::Key_Left:
    case Qt::Key_Home: {
        const Caret caret = view_.editorCaret();
        if (ctrl || caret.allSelected || (caret.position == 0 && !caret.selection))
            return this->key(key, modifiers, text);
        return KeyResult::ToEditor;
    }
    case Qt::Key_Right:
    case Qt::Key_End: {
        const Caret caret = view_.editorCaret();
        if (ctrl || caret.allSelected || (caret.position == caret.length && !caret.selection))
            return this->key(key, modifiers, text);
        return KeyResult::ToEditor;
    }
    default:
        break;
    }

    Field* field = currentField();
    if (!field)
        return KeyResult::Done;
    const bool typing = typesCharacter(text, mods);
    const bool deleting = key == Qt::Key_Backspace || key == Qt::Key_Delete || pasteOrCut ||
                          (key == Qt::Key_Insert && shift);
    if (!typing && !deleting)
        return KeyResult::ToEditor;
    if (!canChangeField(*field)) {
        // Nothing here can change: what the field would take is dropped silently (an auto-number
        // takes digits), anything else with a beep.
        const FieldKind kind =
            field->kind() == FieldKind::AutoInc ? FieldKind::Integer : field->kind();
        if (typing && !fieldtext::accepts(kind, text.front()))
            return KeyResult::Refused;
        return KeyResult::Done;
    }
    if (typing && !fieldtext::accepts(field->kind(), text.front()))
        return KeyResult::Refused;
    return askToEdit() ? KeyResult::ToEditor : KeyResult::Done;
}

bool GridEditing::canChangeField(const Field& field) const {
    const TableCursor* c = cursor();
    return c && c->CanModify() && !field.ReadOnly() && dataSource_ &&
           (dataSource_->editing() || dataSource_->AutoEdit());
}

bool GridEditing::askToEdit() {
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
    view_.placeEditor();
    return dataSource_->editing();
}

// ---- the editor --------------------------------------------------------------------------------

void GridEditing::openEditor() {
    if (!active() || !currentField())
        return;
    if (!editorMode_) {
        editorMode_ = true;
        view_.revealRow();
        view_.revealColumn();
        refreshEditor();
        view_.showEditor();
    }
    view_.focusEditor();
    view_.changed();
}

void GridEditing::closeEditor() {
    if (!editorMode_)
        return;
    editorMode_ = false;
    editorModified_ = false;
    view_.hideEditor();
    view_.changed();
}

void GridEditing::refreshEditor() {
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
    view_.setEditorText(fieldtext::display(value, field->kind()),
                        field->kind() == FieldKind::WideString && field->Size() > 0 ? field->Size()
                                                                                    : 32767,
                        fieldtext::alignment(field->kind()));
    editorModified_ = false;
    view_.placeEditor();
}

void GridEditing::storeEditor() {
    if (!editorMode_ || !editorModified_)
        return;
    Field* field = currentField();
    if (!field)
        return;
    field->setValue(fieldtext::parse(view_.editorText(), field->kind(), field->FieldName()));
    editorModified_ = false;
}

// ---- moving ------------------------------------------------------------------------------------

void GridEditing::goToColumn(int column) {
    column = std::clamp(column, 0, view_.columnCount() - 1);
    if (column == currentColumn_)
        return;
    storeEditor();
    setCurrentColumn(column);
}

void GridEditing::setCurrentColumn(int column) {
    currentColumn_ = std::clamp(column, 0, std::max(0, view_.columnCount() - 1));
    view_.revealColumn();
    refreshEditor();
    view_.changed();
}

void GridEditing::upKey() {
    TableCursor* c = cursor();
    if (untouchedNewRow() && c->currentIndex() == c->rowCount() - 1) {
        c->Cancel();
        return;
    }
    c->MoveBy(-1);
}

bool GridEditing::downKey() {
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

void GridEditing::nextCell(bool forward) {
    const int columns = view_.columnCount();
    if (forward) {
        if (currentColumn_ < columns - 1) {
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
    setCurrentColumn(columns - 1);
}

void GridEditing::escapeKey() {
    if (editorMode_ && editorModified_) {
        refreshEditor();
        closeEditor();
        return;
    }
    closeEditor();
    if (TableCursor* c = cursor(); c->State() == dsEdit || c->State() == dsInsert)
        c->Cancel();
}

void GridEditing::deleteRecord() {
    TableCursor* c = cursor();
    if (c->rowCount() == 0)
        return;
    if (messages().confirm(QStringLiteral("Confirm"), QStringLiteral("Delete record?")) !=
        MessageSeam::Answer::Ok)
        return;
    c->Delete();
}

void GridEditing::moveToRow(int row) {
    TableCursor* c = cursor();
    if (!c || !c->Active() || row < 0 || row >= c->rowCount() || row == c->currentIndex())
        return;
    c->moveTo(row);
}

void GridEditing::moveBy(int distance) {
    if (distance != 0 && active())
        cursor()->MoveBy(distance);
}

void GridEditing::click(int row, int column, bool hadFocus) {
    const TableCursor* c = cursor();
    if (!active() || row < 0)
        return;
    if (row == c->currentIndex() && (column == currentColumn_ || column < 0)) {
        if (column >= 0 && hadFocus)
            openEditor();
        return;
    }
    storeEditor();
    moveToRow(row);
    if (column >= 0)
        setCurrentColumn(column);
}

bool GridEditing::leave() {
    if (!active())
        return false;
    if (untouchedNewRow()) {
        cursor()->Cancel();
        return true;
    }
    storeEditor();
    return false;
}

// ---- notifications -----------------------------------------------------------------------------

void GridEditing::followCursor() {
    view_.revealRow();
    view_.updateScrollBars();
    refreshEditor();
    view_.changed();
}

void GridEditing::dataFieldChanged(Field& field) {
    if (editorMode_ && currentField() == &field)
        refreshEditor();
    view_.changed();
}

void GridEditing::dataRowChanged() {
    refreshEditor();
    view_.changed();
}

void GridEditing::dataRowsChanged() {
    view_.fieldsChanged();
    followCursor();
}

void GridEditing::dataScrolled(int) {
    followCursor();
}

// May throw a conversion error: it ends the cursor operation that asked (Post, a move).
void GridEditing::dataWritePendingChanges() {
    storeEditor();
}

void GridEditing::dataStateChanged() {
    view_.fieldsChanged();
    if (!active())
        closeEditor();
    view_.updateScrollBars();
    view_.changed();
}

} // namespace kavelon
