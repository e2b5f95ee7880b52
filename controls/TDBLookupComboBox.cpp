#include "controls/TDBLookupComboBox.h"

#include "app/Guard.h"
#include "controls/LookupList.h"
#include "data/FieldText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace kavelon {

namespace {

constexpr qint64 searchPauseMs = 2000;
constexpr int searchTextLimit = 32;

qint64 monotonicMs() {
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer.elapsed();
}

// The width a text key is cut to when the bound field stores it; 0 when keys are not cut.
int cutWidth(const Field* bound, const Field* key) {
    if (!bound || !key || bound->kind() != FieldKind::WideString ||
        key->kind() != FieldKind::WideString)
        return 0;
    return qMax(0, bound->Size());
}

// The chosen key as the bound field takes it: a text cut to the field's width; a key of another
// kind through its text.
Value keyForBoundField(const Field& key, const Field& bound) {
    const Value value = key.value();
    if (value.isNull())
        return value;
    const bool sameKind = key.kind() == bound.kind() ||
                          (key.kind() == FieldKind::AutoInc && bound.kind() == FieldKind::Integer);
    if (sameKind && bound.kind() != FieldKind::WideString)
        return value;
    const QString text = fieldtext::display(value, key.kind());
    if (bound.kind() == FieldKind::WideString)
        return Value::text(bound.Size() > 0 ? text.left(bound.Size()) : text);
    return fieldtext::parse(text, bound.kind(), bound.FieldName());
}

} // namespace

TDBLookupComboBox::TDBLookupComboBox(QWidget* parent) : QWidget(parent), clock_(monotonicMs) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    list_ = new LookupList(this);
}

TDBLookupComboBox::~TDBLookupComboBox() {
    // The list goes first: hiding it on the way out must not call back into a half-gone box.
    open_ = false;
    delete list_;
    if (dataSource_)
        dataSource_->removeLink(this);
    if (listSource_)
        listSource_->removeLink(&listLink_);
}

void TDBLookupComboBox::setDataSource(TDataSource* source) {
    if (dataSource_)
        dataSource_->removeLink(this);
    dataSource_ = source;
    if (dataSource_)
        dataSource_->addLink(this);
    keyLookup(true);
}

void TDBLookupComboBox::setDataField(const QString& name) {
    dataField_ = name;
    keyLookup(true);
}

void TDBLookupComboBox::setListSource(TDataSource* source) {
    if (listSource_)
        listSource_->removeLink(&listLink_);
    listSource_ = source;
    if (listSource_)
        listSource_->addLink(&listLink_);
    keyLookup(true);
}

void TDBLookupComboBox::setKeyField(const QString& name) {
    keyField_ = name;
    keyLookup(true);
}

void TDBLookupComboBox::setListField(const QString& names) {
    listField_ = names;
    keyLookup(true);
}

void TDBLookupComboBox::setClock(Clock clock) {
    clock_ = clock ? std::move(clock) : Clock(monotonicMs);
}

Field* TDBLookupComboBox::boundField() const {
    if (!dataSource_ || !dataSource_->DataSet() || !dataSource_->DataSet()->Active())
        return nullptr;
    return dataSource_->DataSet()->FindField(dataField_);
}

TableCursor* TDBLookupComboBox::listCursor() const {
    if (!listSource_ || !listSource_->DataSet() || !listSource_->DataSet()->Active())
        return nullptr;
    return listSource_->DataSet();
}

Field* TDBLookupComboBox::listKeyField() const {
    TableCursor* cursor = listCursor();
    return cursor ? cursor->FindField(keyField_) : nullptr;
}

std::vector<Field*> TDBLookupComboBox::listFields() const {
    std::vector<Field*> fields;
    TableCursor* cursor = listCursor();
    if (!cursor)
        return fields;
    for (const QString& name : listField_.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (Field* f = cursor->FindField(name.trimmed()))
            fields.push_back(f);
    return fields;
}

bool TDBLookupComboBox::canModify() const {
    const Field* f = boundField();
    return f && !f->ReadOnly() && listKeyField();
}

// A value of the width of the bound field may stand for a longer list key: the field holds the
// key cut to its width, and every list key that begins with it was cut to it.
bool TDBLookupComboBox::locateKey(const Value& key) {
    TableCursor* cursor = listCursor();
    const Field* listKey = listKeyField();
    if (!cursor || !listKey)
        return false;
    const int width = cutWidth(boundField(), listKey);
    if (width > 0 && key.type() == Value::Type::Text && key.toText().size() == width)
        return cursor->Locate(keyField_, key, loPartialKey);
    return cursor->Locate(keyField_, key);
}

bool TDBLookupComboBox::keyMatches(const Value& listKey, const Value& value) const {
    if (listKey == value)
        return true;
    const int width = cutWidth(boundField(), listKeyField());
    return width > 0 && listKey.type() == Value::Type::Text && value.type() == Value::Type::Text &&
           value.toText().size() == width && listKey.toText().startsWith(value.toText());
}

Value TDBLookupComboBox::storedForm(const Value& listKey) const {
    const int width = cutWidth(boundField(), listKeyField());
    if (width > 0 && listKey.type() == Value::Type::Text)
        return Value::text(listKey.toText().left(width));
    return listKey;
}

bool TDBLookupComboBox::findValueRow() {
    const Field* key = listKeyField();
    if (!hasValue_ || value_.isNull() || !key)
        return false;
    if (!listCursor()->IsEmpty() && keyMatches(key->value(), value_))
        return true;
    return locateKey(value_);
}

QString TDBLookupComboBox::listRowText() const {
    const std::vector<Field*> fields = listFields();
    return fields.empty() ? QString()
                          : fieldtext::display(fields.front()->value(), fields.front()->kind());
}

void TDBLookupComboBox::keyLookup(bool force) {
    const Field* bound = boundField();
    const Value value = bound ? bound->value() : Value();
    if (!force && hasValue_ && value == value_)
        return;
    value_ = value;
    hasValue_ = true;
    text_.clear();
    if (!value.isNull() && locateKey(value))
        text_ = listRowText();
    update();
}

bool TDBLookupComboBox::chooseListRow() {
    Field* bound = boundField();
    const Field* key = listKeyField();
    if (!bound || bound->ReadOnly() || !key || listCursor()->IsEmpty())
        return false;
    const Value chosen = keyForBoundField(*key, *bound);
    // A list row without a key would empty the field, which no choice may do.
    if (chosen.isNull() || !dataSource_->Edit())
        return false;
    // The box takes the stored value itself: a key lookup would move the list cursor to the
    // first row with an equal key, away from the row the user chose.
    choosing_ = true;
    try {
        bound->setValue(chosen);
    } catch (...) {
        choosing_ = false;
        throw;
    }
    choosing_ = false;
    value_ = bound->value();
    hasValue_ = true;
    showStoredValue();
    update();
    return true;
}

// The box shows what the row now holds, as a key lookup of the stored value shows it; the list
// cursor goes back to the row chosen, which may be another one with an equal key.
void TDBLookupComboBox::showStoredValue() {
    TableCursor* cursor = listCursor();
    const int chosen = cursor->currentIndex();
    text_.clear();
    if (!value_.isNull() && locateKey(value_))
        text_ = listRowText();
    if (chosen >= 0 && cursor->currentIndex() != chosen)
        cursor->moveTo(chosen);
}

void TDBLookupComboBox::chooseNeighbour(int step) {
    TableCursor* cursor = listCursor();
    if (!cursor || !canModify() || cursor->IsEmpty())
        return;
    if (!findValueRow())
        cursor->First();
    else if (cursor->MoveBy(step) == 0)
        return;
    chooseListRow();
}

void TDBLookupComboBox::searchCharacter(QChar ch, bool inOpenList) {
    const std::vector<Field*> fields = listFields();
    if (fields.empty() || fields.front()->kind() != FieldKind::WideString)
        return;
    if (!inOpenList && !canModify())
        return;
    const qint64 now = clock_();
    if (!searchStarted_ || now - lastSearchKey_ > searchPauseMs)
        searchText_.clear();
    searchStarted_ = true;
    lastSearchKey_ = now;
    if (searchText_.size() >= searchTextLimit)
        return;
    const QString wanted = searchText_ + ch;
    if (!listCursor()->Locate(fields.front()->FieldName(), Value::text(wanted),
                              loCaseInsensitive | loPartialKey))
        return;
    searchText_ = wanted;
    if (inOpenList)
        highlightChanged();
    else
        chooseListRow();
}

void TDBLookupComboBox::DropDown() {
    TableCursor* cursor = listCursor();
    if (open_ || !cursor)
        return;
    const bool inList = findValueRow();
    if (!inList)
        cursor->First();
    listValue_ = inList ? value_ : Value();
    hasListValue_ = inList;
    openRow_ = cursor->currentIndex();
    open_ = true;
    list_->popup();
}

void TDBLookupComboBox::CloseUp(bool choose) {
    if (!open_)
        return;
    open_ = false;
    list_->hide();
    TableCursor* cursor = listCursor();
    if (!cursor)
        return;
    // With no row highlighted (the list opened on a value it does not hold) there is nothing
    // to choose.
    if (choose && hasListValue_ && chooseListRow())
        return;
    // Without a choice (or with one the bound row cannot take) the list cursor goes back to where
    // the opening put it, so the controls bound to it show the row of the box's value, not the row
    // last highlighted.
    const int current = cursor->currentIndex();
    if (openRow_ >= 0 && current >= 0 && current != openRow_ && openRow_ < cursor->rowCount())
        cursor->MoveBy(openRow_ - current);
}

void TDBLookupComboBox::listClosedOutside() {
    guard([&] { CloseUp(false); });
}

void TDBLookupComboBox::moveHighlightBy(int distance) {
    if (TableCursor* cursor = listCursor(); cursor && distance) {
        cursor->MoveBy(distance);
        highlightChanged();
    }
}

void TDBLookupComboBox::moveHighlightToFirst() {
    if (TableCursor* cursor = listCursor()) {
        cursor->First();
        highlightChanged();
    }
}

void TDBLookupComboBox::moveHighlightToLast() {
    if (TableCursor* cursor = listCursor()) {
        cursor->Last();
        highlightChanged();
    }
}

void TDBLookupComboBox::highlightChanged() {
    const Field* key = listKeyField();
    TableCursor* cursor = listCursor();
    hasListValue_ = key && cursor && !cursor->IsEmpty();
    listValue_ = hasListValue_ ? storedForm(key->value()) : Value();
    list_->currentMoved();
}

void TDBLookupComboBox::listKeyPress(QKeyEvent* event) {
    const int key = event->key();
    const bool alt = event->modifiers() & Qt::AltModifier;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (alt)
            CloseUp(true);
        else
            moveHighlightBy(key == Qt::Key_Up ? -1 : 1);
        return;
    case Qt::Key_Left:
        moveHighlightBy(-1);
        return;
    case Qt::Key_Right:
        moveHighlightBy(1);
        return;
    case Qt::Key_PageUp:
        moveHighlightBy(-(list_->visibleRows() - 1));
        return;
    case Qt::Key_PageDown:
        moveHighlightBy(list_->visibleRows() - 1);
        return;
    case Qt::Key_Home:
        moveHighlightToFirst();
        return;
    case Qt::Key_End:
        moveHighlightToLast();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        CloseUp(true);
        return;
    case Qt::Key_Escape:
        CloseUp(false);
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // The list has the keyboard; Tab moves the focus on as from the closed box.
        CloseUp(false);
        focusNextPrevChild(key == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
        return;
    case Qt::Key_Backspace:
        searchText_.clear();
        return;
    default:
        break;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && typed.front().isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        searchCharacter(typed.front(), true);
}

void TDBLookupComboBox::keyPressEvent(QKeyEvent* event) {
    guard([&] {
        if (open_) {
            listKeyPress(event);
            return;
        }
        const int key = event->key();
        const bool alt = event->modifiers() & Qt::AltModifier;
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            if (alt)
                DropDown();
            else
                chooseNeighbour(key == Qt::Key_Up ? -1 : 1);
            return;
        }
        if (key == Qt::Key_Backspace) {
            searchText_.clear();
            return;
        }
        if (key == Qt::Key_Escape) {
            // Esc also belongs to the window (a dialog's cancel).
            searchText_.clear();
            event->ignore();
            return;
        }
        const QString typed = event->text();
        if (typed.size() == 1 && typed.front().isPrint() &&
            !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            searchCharacter(typed.front(), false);
            return;
        }
        QWidget::keyPressEvent(event);
    });
}

void TDBLookupComboBox::mousePressEvent(QMouseEvent* event) {
    guard([&] {
        if (event->button() != Qt::LeftButton)
            return;
        if (list_->takeClosingPress())
            return;
        if (open_)
            CloseUp(false);
        else
            DropDown();
    });
}

void TDBLookupComboBox::focusInEvent(QFocusEvent* event) {
    guard([&] {
        QWidget::focusInEvent(event);
        update();
    });
}

void TDBLookupComboBox::focusOutEvent(QFocusEvent* event) {
    guard([&] {
        QWidget::focusOutEvent(event);
        // The open list takes the keyboard with a popup reason; any other focus move closes it.
        if (event->reason() != Qt::PopupFocusReason)
            CloseUp(false);
        update();
    });
}

QSize TDBLookupComboBox::sizeHint() const {
    return {145, fontMetrics().height() + 8};
}

void TDBLookupComboBox::paintEvent(QPaintEvent*) {
    guard([&] { paintBox(); });
}

void TDBLookupComboBox::paintBox() {
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
    frame.midLineWidth = 0;
    frame.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);

    // The drop-down button, as wide as a vertical scroll bar, at the right end.
    const int frameWidth = qMax(1, frame.lineWidth);
    const int buttonWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const QRect inner = rect().adjusted(frameWidth, frameWidth, -frameWidth, -frameWidth);
    QStyleOptionButton button;
    button.initFrom(this);
    button.rect = QRect(inner.right() - buttonWidth + 1, inner.top(), buttonWidth, inner.height());
    button.state |= open_ ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &button, &painter, this);
    QStyleOption arrow = button;
    arrow.rect = button.rect.adjusted(buttonWidth / 4, inner.height() / 4, -buttonWidth / 4,
                                      -inner.height() / 4);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);

    // The text; highlighted while the box has the focus, as a closed list box marks its choice.
    QRect textRect = inner;
    textRect.setRight(button.rect.left() - 1);
    const bool focused = hasFocus() && !open_;
    if (focused) {
        const QRect mark = textRect.adjusted(1, 1, -1, -1);
        painter.fillRect(mark, palette().brush(QPalette::Highlight));
    }
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   focused ? QPalette::HighlightedText : QPalette::Text));
    painter.setClipRect(textRect);
    painter.drawText(textRect.adjusted(3, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, text_);
}

void TDBLookupComboBox::dataFieldChanged(Field& field) {
    if (!choosing_ && &field == boundField())
        keyLookup();
}
void TDBLookupComboBox::dataRowChanged() {
    keyLookup();
}
void TDBLookupComboBox::dataRowsChanged() {
    keyLookup();
}
void TDBLookupComboBox::dataScrolled(int) {
    keyLookup();
}

void TDBLookupComboBox::ListLink::dataRowsChanged() {
    if (box_->open_)
        box_->list_->currentMoved();
}
void TDBLookupComboBox::ListLink::dataScrolled(int) {
    dataRowsChanged();
}

} // namespace kavelon
