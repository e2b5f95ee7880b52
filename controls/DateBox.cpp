#include "controls/DateBox.h"

#include "app/Guard.h"
#include "controls/DateBoxCalendar.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QStyle>
#include <QToolButton>
#include <QValidator>

namespace kavelon {

namespace {

// Refuses every change that would break the mask's shape (a paste or a cut from the context
// menu, the line edit's own editing keys), so the text always stays ten positions.
class MaskShape : public QValidator {
public:
    MaskShape(const DateMask& mask, QObject* parent) : QValidator(parent), mask_(mask) {}
    State validate(QString& input, int&) const override {
        return mask_.fits(input) ? Acceptable : Invalid;
    }

private:
    DateMask mask_;
};

} // namespace

DateBox::DateBox(QWidget* parent, const DateMask& mask)
    : QLineEdit(parent), mask_(mask), today_([] { return QDate::currentDate(); }),
      button_(new QToolButton(this)), calendar_(new DateBoxCalendar(this)) {
    setText(mask_.blankText());
    setValidator(new MaskShape(mask_, this));
    setAcceptDrops(false);
    setMaxLength(DateMask::Length);
    setTextMargins(0, 0, ButtonWidth, 0);

    button_->setObjectName(QStringLiteral("DropDownButton"));
    button_->setArrowType(Qt::DownArrow);
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setCursor(Qt::ArrowCursor);
    button_->setAutoRaise(false);
    connect(button_, &QToolButton::clicked, this, [this] { guard([this] { openCalendar(); }); });
    connect(calendar_, &DateBoxCalendar::picked, this,
            [this](const QDate& date) { guard([&] { pick(date); }); });
    placeButton();
}

QDate DateBox::date() const {
    return mask_.dateOf(text(), today());
}

QDate DateBox::value() const {
    const QDate d = date();
    return d.isValid() ? d : zeroDate();
}

bool DateBox::isBlank() const {
    return !mask_.hasDigit(text());
}

void DateBox::setDate(const QDate& date) {
    setMaskedText(mask_.textOf(date), 0);
}

void DateBox::restoreText(const QString& text) {
    setMaskedText(mask_.fits(text) ? text : mask_.blankText(), 0);
}

void DateBox::setTodaySource(std::function<QDate()> source) {
    today_ = std::move(source);
}

QDate DateBox::today() const {
    return today_();
}

void DateBox::openCalendar() {
    if (calendar_->isVisible())
        return;
    const QDate current = date();
    const QRect box(mapToGlobal(QPoint(0, 0)), size());
    calendar_->showAt(DateBoxCalendar::placement(box, screen()->availableGeometry()),
                      current.isValid() ? current : today(), today());
}

void DateBox::pick(const QDate& date) {
    calendar_->hide();
    setDate(date);
    activateWindow();
    setFocus(Qt::PopupFocusReason);
}

void DateBox::keyPressEvent(QKeyEvent* event) {
    guard([&] { handleKey(event); });
}

void DateBox::handleKey(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (key == Qt::Key_Down && (mods & Qt::AltModifier)) {
        openCalendar();
        return;
    }
    if ((mods & Qt::KeypadModifier) && (key == Qt::Key_Plus || key == Qt::Key_Minus)) {
        shiftDays(key == Qt::Key_Plus ? 1 : -1);
        return;
    }
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
        blankDigit(key == Qt::Key_Backspace ? -1 : 1);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteDigits();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        copy();
        QString text = this->text();
        int caret = cursorPosition();
        blankSelection(text, caret);
        setMaskedText(text, caret);
        return;
    }
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo))
        return;

    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() &&
        !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        const QChar ch = typed.at(0);
        if (ch >= u'0' && ch <= u'9')
            typeDigit(ch);
        else if (ch == mask_.separator())
            skipPastSeparator();
        else if (ch == u'T' || ch == u't')
            setDate(today());
        else if (ch != u'+' && ch != u'-') // a plus or minus typed otherwise is ignored
            refuse();
        return;
    }
    // Caret moves, selection, copy; whatever would break the mask the validator refuses.
    QLineEdit::keyPressEvent(event);
}

void DateBox::blankSelection(QString& text, int& caret) const {
    if (!hasSelectedText())
        return;
    const int start = selectionStart();
    const int end = start + int(selectedText().size());
    for (int i = start; i < end && i < DateMask::Length; ++i)
        if (mask_.isDigitPosition(i))
            text[i] = u' ';
    caret = start;
}

void DateBox::typeDigit(QChar digit) {
    QString text = this->text();
    int caret = cursorPosition();
    blankSelection(text, caret);
    while (caret < DateMask::Length && !mask_.isDigitPosition(caret))
        ++caret;
    if (caret >= DateMask::Length) {
        refuse();
        return;
    }
    text[caret++] = digit;
    while (caret < DateMask::Length && !mask_.isDigitPosition(caret))
        ++caret;
    setMaskedText(text, caret);
}

void DateBox::skipPastSeparator() {
    const int from = hasSelectedText() ? selectionStart() : cursorPosition();
    for (int i = from; i < DateMask::Length; ++i) {
        if (!mask_.isDigitPosition(i)) {
            setCursorPosition(i + 1);
            return;
        }
    }
}

// Backspace (step -1) blanks the digit before the caret and puts the caret before it; Delete
// (step 1) blanks the digit at or after the caret and puts the caret past it. Separators are
// stepped over; a selection is blanked whole either way.
void DateBox::blankDigit(int step) {
    QString text = this->text();
    int caret = cursorPosition();
    if (hasSelectedText()) {
        blankSelection(text, caret);
        setMaskedText(text, caret);
        return;
    }
    int position = step < 0 ? caret - 1 : caret;
    while (position >= 0 && position < DateMask::Length && !mask_.isDigitPosition(position))
        position += step;
    if (position < 0 || position >= DateMask::Length)
        return;
    text[position] = u' ';
    setMaskedText(text, step < 0 ? position : position + 1);
}

// A paste fills digit positions from the caret with the pasted digits, other characters dropped.
void DateBox::pasteDigits() {
    QString text = this->text();
    int caret = cursorPosition();
    blankSelection(text, caret);
    for (const QChar ch : QApplication::clipboard()->text()) {
        if (!(ch >= u'0' && ch <= u'9'))
            continue;
        while (caret < DateMask::Length && !mask_.isDigitPosition(caret))
            ++caret;
        if (caret >= DateMask::Length)
            break;
        text[caret++] = ch;
    }
    setMaskedText(text, caret);
}

void DateBox::shiftDays(int days) {
    const QDate current = date();
    setDate((current.isValid() ? current : today()).addDays(days));
}

void DateBox::refuse() {
    QApplication::beep();
    emit refused();
}

void DateBox::setMaskedText(const QString& text, int caret) {
    setText(text);
    setCursorPosition(caret);
}

void DateBox::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    placeButton();
}

void DateBox::placeButton() {
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    button_->setGeometry(width() - frame - ButtonWidth, frame, ButtonWidth, height() - 2 * frame);
}

} // namespace kavelon
