#include "controls/TDBEdit.h"

#include "app/Guard.h"
#include "controls/RefusedFocus.h"
#include "data/FieldText.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>

#include <memory>

namespace kavelon {

namespace {

bool isNumberKind(FieldKind kind) {
    return kind == FieldKind::Integer || kind == FieldKind::AutoInc;
}

// Keys that change the text without typing a character.
bool changesText(const QKeyEvent* e) {
    const int key = e->key();
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) && !(mods & Qt::ControlModifier))
        return true;
    if (mods == Qt::ControlModifier && (key == Qt::Key_V || key == Qt::Key_X))
        return true;
    if (mods == Qt::ShiftModifier && key == Qt::Key_Insert)
        return true;
    return e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut);
}

// The characters a key types, or nothing for a shortcut or a control key.
QString typedText(const QKeyEvent* e) {
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return {};
    const QString t = e->text();
    for (const QChar ch : t)
        if (!ch.isPrint())
            return {};
    return t;
}

} // namespace

TDBEdit::TDBEdit(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    connect(this, &QLineEdit::textEdited, this, [this] { modified_ = true; });
}

TDBEdit::~TDBEdit() {
    if (dataSource_)
        dataSource_->removeLink(this);
}

void TDBEdit::setDataSource(TDataSource* source) {
    if (dataSource_)
        dataSource_->removeLink(this);
    dataSource_ = source;
    if (dataSource_)
        dataSource_->addLink(this);
    refresh();
}

void TDBEdit::setDataField(const QString& name) {
    dataField_ = name;
    refresh();
}

Field* TDBEdit::field() const {
    if (!dataSource_ || !dataSource_->DataSet() || !dataSource_->DataSet()->Active())
        return nullptr;
    return dataSource_->DataSet()->FindField(dataField_);
}

bool TDBEdit::canModify() const {
    const Field* f = field();
    return f && !f->ReadOnly();
}

void TDBEdit::refresh() {
    const Field* f = field();
    const QString shown = f ? fieldtext::display(f->value(), f->kind()) : QString();
    // Setting the same text again would lose the user's selection (a typed key replaces it).
    if (text() != shown)
        setText(shown);
    modified_ = false;
    updateLook();
}

void TDBEdit::updateLook() {
    const Field* f = field();
    setReadOnly(!(canModify() && dataSource_->editing()));
    // Setting the limit sets the text anew and would drop the selection.
    const int limit = f && f->kind() == FieldKind::WideString && f->Size() > 0 ? f->Size() : 32767;
    if (maxLength() != limit)
        setMaxLength(limit);
    const bool rightAligned = f && isNumberKind(f->kind()) && !(hasFocus() && canModify());
    setAlignment((rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

void TDBEdit::storeText() {
    if (!modified_)
        return;
    Field* f = field();
    if (!f || !dataSource_->editing())
        return;
    f->setValue(fieldtext::parse(text(), f->kind(), f->FieldName()));
    modified_ = false;
}

bool TDBEdit::askToEdit() {
    if (!canModify())
        return false;
    dataSource_->Edit();
    updateLook();
    return !isReadOnly();
}

void TDBEdit::keyPressEvent(QKeyEvent* event) {
    guard([&] {
        if (event->key() == Qt::Key_Escape && !(event->modifiers() & ~Qt::KeypadModifier)) {
            refresh();
            selectAll();
            event->accept();
            return;
        }
        const QString typed = typedText(event);
        if (!typed.isEmpty()) {
            const Field* f = field();
            if (!canModify()) {
                event->accept();
                return;
            }
            for (const QChar ch : typed)
                if (!fieldtext::accepts(f->kind(), ch)) {
                    QApplication::beep();
                    event->accept();
                    return;
                }
            if (!askToEdit()) {
                event->accept();
                return;
            }
        } else if (changesText(event)) {
            if (!askToEdit()) {
                event->accept();
                return;
            }
        }
        QLineEdit::keyPressEvent(event);
    });
}

void TDBEdit::focusInEvent(QFocusEvent* event) {
    guard([&] {
        QLineEdit::focusInEvent(event);
        updateLook();
    });
}

void TDBEdit::focusOutEvent(QFocusEvent* event) {
    bool stored = false;
    guard([&] {
        QLineEdit::focusOutEvent(event);
        updateLook();
        const Qt::FocusReason reason = event->reason();
        // Only a move to another control of this window stores; switching windows, a menu or a
        // popup leaves the text as typed.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
            reason == Qt::MenuBarFocusReason) {
            stored = true;
            return;
        }
        const QWidget* next = QApplication::focusWidget();
        if (next && next->window() != window()) {
            stored = true;
            return;
        }
        storeText();
        stored = true;
    });
    if (!stored)
        keepFocusAfterError(event->reason());
}

void TDBEdit::keepFocusAfterError(Qt::FocusReason reason) {
    setFocus(Qt::OtherFocusReason);
    selectAll();
    // The user, who has just read the error box, does not also get the button's action.
    if (reason == Qt::MouseFocusReason)
        dropPressOnItsWay();
}

void TDBEdit::contextMenuEvent(QContextMenuEvent* event) {
    guard([&] {
        std::unique_ptr<QMenu> menu(createStandardContextMenu());
        if (isReadOnly() && canModify()) {
            // The read-only edit of a browsing cursor offers cut, paste and delete all the same:
            // like the keys, they first ask to edit.
            for (QAction* action : menu->actions()) {
                const QString name = action->objectName();
                void (QLineEdit::*change)() = nullptr;
                if (name == QLatin1String("edit-cut"))
                    change = &QLineEdit::cut;
                else if (name == QLatin1String("edit-paste"))
                    change = &QLineEdit::paste;
                else if (name == QLatin1String("edit-delete"))
                    change = &QLineEdit::del;
                if (!change)
                    continue;
                action->setEnabled(name == QLatin1String("edit-paste") || hasSelectedText());
                QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
                connect(action, &QAction::triggered, this, [this, change] {
                    guard([&] {
                        if (askToEdit())
                            (this->*change)();
                    });
                });
            }
        }
        menu->exec(event->globalPos());
    });
}

void TDBEdit::dataFieldChanged(Field& f) {
    if (&f == field())
        refresh();
}
void TDBEdit::dataRowChanged() {
    refresh();
}
void TDBEdit::dataRowsChanged() {
    refresh();
}
void TDBEdit::dataScrolled(int) {
    refresh();
}
void TDBEdit::dataWritePendingChanges() {
    storeText();
}
void TDBEdit::dataStateChanged() {
    updateLook();
}

} // namespace kavelon
