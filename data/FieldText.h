#pragma once
// The field text rules shared by every data-bound control: how a value of each column kind is
// shown, how it is aligned, which typed characters a control takes, and how typed text becomes
// a value. QtCore only: the edit, the lookup box and the grid all come here.

#include "data/Schema.h"
#include "data/Value.h"

#include <QString>
#include <Qt>

namespace kavelon::fieldtext {

// The text a control shows for a value; an empty value shows as nothing. Integers in decimal
// without grouping; dates in the system's short date format, with a blank and the long time when
// the time of day is not midnight; texts as stored; booleans "True" or "False".
QString display(const Value& value, FieldKind kind);

// Integers and auto-numbers to the right, everything else to the left.
Qt::Alignment alignment(FieldKind kind);

// Whether a control takes this typed character for a field of the kind (pastes are not filtered).
bool accepts(FieldKind kind, QChar ch);

// The value typed text stands for; throws ConversionError with the message of the kind:
//   "'%s' is not a valid integer value for field '%s'"
//   "'%s' is not a valid date and time"
//   "'%s' is not a valid boolean value for field '%s'"
// Integers: leading blanks, an optional sign, then decimal digits or hexadecimal digits after
// "$", "x" or "0x"; hexadecimal is a magnitude like decimal, so "$FFFFFFFF" (4294967295) is out
// of range and refused rather than read as -1. Texts come back as typed, an empty one as an
// empty text (the cursor cuts them to the field's width).
Value parse(const QString& text, FieldKind kind, const QString& fieldName);

// The parts of parse, for callers that know the kind.
Value parseInteger(const QString& text, const QString& fieldName);
Value parseDateTime(const QString& text);
Value parseBoolean(const QString& text, const QString& fieldName);

} // namespace kavelon::fieldtext
