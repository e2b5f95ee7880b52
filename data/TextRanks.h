#pragma once
// Ranks of distinct texts in the collation of the system locale (see SystemLocale.h): texts the
// collation calls equal are told apart by their characters, so that a rank names one text.
//
// Russian text of the common characters (Cyrillic and Latin letters, digits, blanks and ASCII
// punctuation) is ordered by each character's primary weight, read once from the collator; only
// texts whose primary weights all agree go to the collator itself. Anything else goes to the
// collator's sort keys for every text. Both give the same order.

#include <QString>
#include <vector>

namespace kavelon {

// rank[i] belongs to texts[i]; equal texts get the same rank, distinct texts distinct ranks.
std::vector<int> textRanks(const std::vector<QString>& texts);
// Below zero when a comes before b in the order of the ranks, zero when they are equal.
int compareTexts(const QString& a, const QString& b);
// The same through the collator's sort keys for every text (the way for any text).
std::vector<int> textRanksBySortKeys(const std::vector<QString>& texts);

} // namespace kavelon
