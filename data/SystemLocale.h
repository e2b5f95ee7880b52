#pragma once
// The locale of field texts and of text order: the system's, read once, or Russian where the
// system names no language (C/POSIX), because the program speaks Russian.

#include <QCollator>
#include <QLocale>

namespace kavelon {

const QLocale& systemLocale();
// A collator for the locale above (ICU), case-sensitive, punctuation significant.
const QCollator& systemCollator();

} // namespace kavelon
