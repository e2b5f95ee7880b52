#pragma once
// The nodes of a parsed filter (data/Filter.cpp builds them): conditions evaluated row by row
// over a RowSource, three-valued so that NOT over a row without a value still lets it fail.

#include "data/RowSource.h"
#include "data/SystemLocale.h"

#include <QCollator>
#include <memory>
#include <optional>
#include <vector>

namespace kavelon {

namespace filter {

// Three-valued, so that NOT over a row without a value still lets it fail.
enum class Truth : signed char { False, True, Unknown };

struct Node {
    virtual ~Node() = default;
    virtual Truth eval(const RowSource& rows, int row) const = 0;
};

using NodePtr = std::unique_ptr<Node>;

inline Truth truth(bool b) {
    return b ? Truth::True : Truth::False;
}

struct AndNode final : Node {
    NodePtr left, right;
    Truth eval(const RowSource& rows, int row) const override {
        const Truth l = left->eval(rows, row);
        if (l == Truth::False)
            return Truth::False;
        const Truth r = right->eval(rows, row);
        if (r == Truth::False)
            return Truth::False;
        return l == Truth::True && r == Truth::True ? Truth::True : Truth::Unknown;
    }
};

struct OrNode final : Node {
    NodePtr left, right;
    Truth eval(const RowSource& rows, int row) const override {
        const Truth l = left->eval(rows, row);
        if (l == Truth::True)
            return Truth::True;
        const Truth r = right->eval(rows, row);
        if (r == Truth::True)
            return Truth::True;
        return l == Truth::False && r == Truth::False ? Truth::False : Truth::Unknown;
    }
};

struct NotNode final : Node {
    NodePtr operand;
    Truth eval(const RowSource& rows, int row) const override {
        const Truth t = operand->eval(rows, row);
        return t == Truth::Unknown ? t : truth(t == Truth::False);
    }
};

struct IsNullNode final : Node {
    int field = 0;
    bool textColumn = false;
    bool negated = false;
    Truth eval(const RowSource& rows, int row) const override {
        const bool null =
            textColumn ? rows.textAt(row, field) == nullptr : rows.value(row, field).isNull();
        return truth(null != negated);
    }
};

// Case folding of every UTF-16 unit, looked up instead of computed: the journal's search runs
// Like over 100 000 customers at every typed character. Surrogates fold to themselves here; a
// supplementary letter folds to a supplementary letter, so it never matches a BMP character.
inline const char16_t* foldTable() {
    static const std::vector<char16_t> table = [] {
        std::vector<char16_t> t(0x10000);
        for (char32_t c = 0; c < 0x10000; ++c)
            t[c] = QChar::isSurrogate(c) ? char16_t(c) : char16_t(QChar::toCaseFolded(c));
        return t;
    }();
    return table.data();
}

struct LikeNode final : Node {
    enum class Mode { Equals, StartsWith, EndsWith, Contains };
    int field = 0;
    Mode mode = Mode::Equals;
    QString needle;
    QString foldedNeedle; // for Contains; empty with surrogates in the needle (Qt then folds)
    Truth eval(const RowSource& rows, int row) const override {
        const QString* text = rows.textAt(row, field);
        if (!text)
            return Truth::Unknown;
        const QStringView t(*text);
        switch (mode) {
        case Mode::Contains:
            return truth(foldedNeedle.isEmpty() ? t.contains(needle, Qt::CaseInsensitive)
                                                : containsFolded(t));
        case Mode::StartsWith:
            return truth(t.startsWith(needle, Qt::CaseInsensitive));
        case Mode::EndsWith:
            return truth(t.endsWith(needle, Qt::CaseInsensitive));
        case Mode::Equals:
            return truth(t.compare(needle, Qt::CaseInsensitive) == 0);
        }
        return Truth::Unknown;
    }

    void prepare() {
        if (mode != Mode::Contains || needle.isEmpty())
            return;
        for (const QChar c : needle)
            if (c.isSurrogate())
                return;
        const char16_t* fold = foldTable();
        foldedNeedle = needle;
        for (QChar& c : foldedNeedle)
            c = QChar(fold[c.unicode()]);
    }

    bool containsFolded(QStringView text) const {
        const char16_t* fold = foldTable();
        const char16_t* s = text.utf16();
        const char16_t* n = reinterpret_cast<const char16_t*>(foldedNeedle.utf16());
        const qsizetype m = foldedNeedle.size();
        for (qsizetype i = 0, last = text.size() - m; i <= last; ++i) {
            if (fold[s[i]] != n[0])
                continue;
            qsizetype j = 1;
            while (j < m && fold[s[i + j]] == n[j])
                ++j;
            if (j == m)
                return true;
        }
        return false;
    }
};

enum class Op { Equal, NotEqual, Less, Greater, LessOrEqual, GreaterOrEqual };

inline bool holds(Op op, int order) {
    switch (op) {
    case Op::Equal:
        return order == 0;
    case Op::NotEqual:
        return order != 0;
    case Op::Less:
        return order < 0;
    case Op::Greater:
        return order > 0;
    case Op::LessOrEqual:
        return order <= 0;
    case Op::GreaterOrEqual:
        return order >= 0;
    }
    return false;
}

inline const QCollator& caseInsensitiveCollator() {
    static const QCollator collator = [] {
        QCollator c = systemCollator();
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

struct TextCompareNode final : Node {
    int field = 0;
    Op op = Op::Equal;
    QString literal;
    Truth eval(const RowSource& rows, int row) const override {
        const QString* text = rows.textAt(row, field);
        if (!text)
            return Truth::Unknown;
        return truth(holds(op, caseInsensitiveCollator().compare(*text, literal)));
    }
};

struct NumberCompareNode final : Node {
    int field = 0;
    Op op = Op::Equal;
    double literal = 0;
    Truth eval(const RowSource& rows, int row) const override {
        const std::optional<double> n = numberOf(rows.value(row, field));
        if (!n)
            return Truth::Unknown;
        return truth(holds(op, *n < literal ? -1 : (*n > literal ? 1 : 0)));
    }
};

} // namespace filter

} // namespace kavelon
