#include "data/Filter.h"

#include "data/Errors.h"
#include "data/FilterNodes.h"
#include "data/SystemLocale.h"

#include <QDateTime>
#include <optional>
#include <vector>

namespace kavelon {

namespace {

using namespace filter;

[[noreturn]] void refuse(const QString& detail) {
    throw DatabaseError(QStringLiteral("Invalid filter: ") + detail);
}

std::optional<DateTime> readDate(const QString& text) {
    DateTime iso;
    if (DateTime::fromIsoText(text, iso))
        return iso;
    const QString shortDate = systemLocale().dateFormat(QLocale::ShortFormat);
    for (const QString& dateFormat : {QStringLiteral("M/d/yyyy"), shortDate}) {
        for (const QString& timeFormat :
             {QString(), QStringLiteral(" H:mm:ss"), QStringLiteral(" H:mm")}) {
            const QDateTime dt = QDateTime::fromString(text, dateFormat + timeFormat);
            if (dt.isValid())
                return DateTime::fromQDateTime(dt);
        }
    }
    return std::nullopt;
}

bool isTextKind(FieldKind k) {
    return k == FieldKind::WideString || k == FieldKind::Memo;
}

// The parser descends once per parenthesis and Not, and the tree it builds is evaluated and
// freed recursively too: bounds keep a hostile text from running any of them out of stack.
constexpr int maxNesting = 100;
constexpr int maxConditions = 1000;

class Parser {
public:
    Parser(const QString& text, const std::vector<ColumnSchema>& fields)
        : text_(text), fields_(fields) {}

    NodePtr parseAll() {
        next();
        NodePtr root = parseOr();
        if (token_.type != Token::End)
            refuse(QStringLiteral("unexpected %1").arg(describe(token_)));
        return root;
    }

private:
    struct Token {
        enum Type { End, Word, Column, Text, Date, Op, Open, Close } type = End;
        QString text;
    };

    // Reads the next token into token_.
    void next() {
        while (pos_ < text_.size() && text_[pos_].isSpace())
            ++pos_;
        token_ = Token();
        if (pos_ >= text_.size())
            return;
        const QChar c = text_[pos_];
        if (c == u'(' || c == u')') {
            token_ = {c == u'(' ? Token::Open : Token::Close, QString(c)};
            ++pos_;
        } else if (c == u'[') {
            const qsizetype end = text_.indexOf(u']', pos_ + 1);
            if (end < 0)
                refuse(QStringLiteral("missing closing bracket ']'"));
            token_ = {Token::Column, text_.mid(pos_ + 1, end - pos_ - 1)};
            pos_ = end + 1;
        } else if (c == u'\'' || c == u'"') {
            token_ = {Token::Text, readQuoted(c)};
        } else if (c == u'#') {
            const qsizetype end = text_.indexOf(u'#', pos_ + 1);
            if (end < 0)
                refuse(QStringLiteral("missing closing '#' of a date"));
            token_ = {Token::Date, text_.mid(pos_ + 1, end - pos_ - 1)};
            pos_ = end + 1;
        } else if (isOperatorChar(c)) {
            const qsizetype start = pos_++;
            if (pos_ < text_.size() && isOperatorChar(text_[pos_]) && text_[pos_] != u'!')
                ++pos_;
            token_ = {Token::Op, text_.mid(start, pos_ - start)};
        } else {
            const qsizetype start = pos_;
            while (pos_ < text_.size() && !text_[pos_].isSpace() && !isDelimiter(text_[pos_]))
                ++pos_;
            if (pos_ == start)
                refuse(QStringLiteral("unexpected character '%1'").arg(c));
            token_ = {Token::Word, text_.mid(start, pos_ - start)};
        }
    }

    static bool isOperatorChar(QChar c) { return c == u'<' || c == u'>' || c == u'=' || c == u'!'; }
    static bool isDelimiter(QChar c) {
        return isOperatorChar(c) || c == u'(' || c == u')' || c == u'[' || c == u']' ||
               c == u'\'' || c == u'"' || c == u'#' || c == u',';
    }

    QString readQuoted(QChar quote) {
        QString out;
        for (qsizetype i = pos_ + 1; i < text_.size(); ++i) {
            if (text_[i] != quote) {
                out += text_[i];
            } else if (i + 1 < text_.size() && text_[i + 1] == quote) {
                out += quote;
                ++i;
            } else {
                pos_ = i + 1;
                return out;
            }
        }
        refuse(QStringLiteral("missing closing quote"));
    }

    bool isWord(const char* keyword) const {
        return token_.type == Token::Word &&
               token_.text.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
    }

    static QString describe(const Token& t) {
        switch (t.type) {
        case Token::End:
            return QStringLiteral("end of the text");
        case Token::Text:
            return QStringLiteral("text '%1'").arg(t.text);
        case Token::Date:
            return QStringLiteral("date #%1#").arg(t.text);
        case Token::Column:
            return QStringLiteral("[%1]").arg(t.text);
        default:
            return QStringLiteral("'%1'").arg(t.text);
        }
    }

    NodePtr parseOr() {
        NodePtr left = parseAnd();
        while (isWord("or")) {
            next();
            auto node = std::make_unique<OrNode>();
            node->left = std::move(left);
            node->right = parseAnd();
            left = std::move(node);
        }
        return left;
    }

    NodePtr parseAnd() {
        NodePtr left = parseNot();
        while (isWord("and")) {
            next();
            auto node = std::make_unique<AndNode>();
            node->left = std::move(left);
            node->right = parseNot();
            left = std::move(node);
        }
        return left;
    }

    static NodePtr negate(NodePtr operand) {
        auto node = std::make_unique<NotNode>();
        node->operand = std::move(operand);
        return node;
    }

    struct Deeper {
        explicit Deeper(int& depth) : depth_(depth) {
            if (++depth_ > maxNesting)
                refuse(
                    QStringLiteral("parentheses and Not nested more than %1 deep").arg(maxNesting));
        }
        ~Deeper() { --depth_; }
        int& depth_;
    };

    NodePtr parseNot() {
        if (isWord("not")) {
            const Deeper deeper(depth_);
            next();
            return negate(parseNot());
        }
        if (token_.type == Token::Open) {
            const Deeper deeper(depth_);
            next();
            NodePtr inner = parseOr();
            if (token_.type != Token::Close)
                refuse(QStringLiteral("')' expected instead of %1").arg(describe(token_)));
            next();
            return inner;
        }
        return parseCondition();
    }

    static bool isKeyword(const QString& word) {
        for (const char* k : {"and", "or", "not", "like", "is", "null", "true", "false"})
            if (word.compare(QLatin1String(k), Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }

    NodePtr parseCondition() {
        if (++conditions_ > maxConditions)
            refuse(QStringLiteral("more than %1 conditions").arg(maxConditions));
        if (token_.type != Token::Column && (token_.type != Token::Word || isKeyword(token_.text)))
            refuse(QStringLiteral("a column name expected instead of %1").arg(describe(token_)));
        const QString name = token_.text;
        const int field = fieldIndexOf(fields_, name);
        if (field < 0)
            refuse(QStringLiteral("unknown column '%1'").arg(name));
        next();

        if (isWord("is")) {
            next();
            auto node = std::make_unique<IsNullNode>();
            node->field = field;
            node->textColumn = isTextKind(fields_[size_t(field)].kind);
            if (isWord("not")) {
                node->negated = true;
                next();
            }
            if (!isWord("null"))
                refuse(
                    QStringLiteral("Null expected after Is instead of %1").arg(describe(token_)));
            next();
            return node;
        }
        bool negated = false;
        if (isWord("not")) {
            negated = true;
            next();
            if (!isWord("like"))
                refuse(
                    QStringLiteral("Like expected after Not instead of %1").arg(describe(token_)));
        }
        if (isWord("like")) {
            next();
            NodePtr like = parseLike(field);
            return negated ? negate(std::move(like)) : std::move(like);
        }
        if (token_.type != Token::Op)
            refuse(QStringLiteral("an operator expected after column '%1' instead of %2")
                       .arg(name, describe(token_)));
        const Op op = operatorOf(token_.text);
        next();
        return parseComparison(field, op);
    }

    NodePtr parseLike(int field) {
        const ColumnSchema& column = fields_[size_t(field)];
        if (token_.type != Token::Text)
            refuse(QStringLiteral("a quoted pattern expected after Like instead of %1")
                       .arg(describe(token_)));
        if (!isTextKind(column.kind))
            refuse(QStringLiteral("Like needs a text column, '%1' is not one").arg(column.name));
        auto node = std::make_unique<LikeNode>();
        node->field = field;
        QString pattern = token_.text;
        next();
        const auto isWildcard = [](QChar c) { return c == u'*' || c == u'%'; };
        const bool leading = !pattern.isEmpty() && isWildcard(pattern.front());
        if (leading)
            pattern.remove(0, 1);
        const bool trailing = !pattern.isEmpty() && isWildcard(pattern.back());
        if (trailing)
            pattern.chop(1);
        using Mode = LikeNode::Mode;
        node->mode = leading ? (trailing ? Mode::Contains : Mode::EndsWith)
                             : (trailing ? Mode::StartsWith : Mode::Equals);
        node->needle = pattern;
        node->prepare();
        return node;
    }

    Op operatorOf(const QString& op) const {
        if (op == u"=")
            return Op::Equal;
        if (op == u"<>" || op == u"!=")
            return Op::NotEqual;
        if (op == u"<")
            return Op::Less;
        if (op == u">")
            return Op::Greater;
        if (op == u"<=")
            return Op::LessOrEqual;
        if (op == u">=")
            return Op::GreaterOrEqual;
        refuse(QStringLiteral("unknown operator '%1'").arg(op));
    }

    NodePtr parseComparison(int field, Op op) {
        const ColumnSchema& column = fields_[size_t(field)];
        const Token value = token_;
        if (value.type == Token::End || value.type == Token::Op || value.type == Token::Close ||
            value.type == Token::Column ||
            (value.type == Token::Word && isKeyword(value.text) && !isWord("null") &&
             !isWord("true") && !isWord("false")))
            refuse(QStringLiteral("a value expected after the operator instead of %1")
                       .arg(describe(value)));
        next();
        if (value.type == Token::Word && value.text.compare(u"null", Qt::CaseInsensitive) == 0) {
            if (op != Op::Equal && op != Op::NotEqual)
                refuse(QStringLiteral("Null can only be compared with = or <>"));
            auto node = std::make_unique<IsNullNode>();
            node->field = field;
            node->textColumn = isTextKind(column.kind);
            node->negated = op == Op::NotEqual;
            return node;
        }
        if (value.type == Token::Open)
            refuse(QStringLiteral("a value expected after the operator instead of '('"));

        if (isTextKind(column.kind)) {
            if (value.type != Token::Text && !isNumber(value))
                refuse(mismatch(value, column));
            auto node = std::make_unique<TextCompareNode>();
            node->field = field;
            node->op = op;
            node->literal = value.text;
            return node;
        }
        auto node = std::make_unique<NumberCompareNode>();
        node->field = field;
        node->op = op;
        node->literal = numberFor(value, column);
        return node;
    }

    static bool isNumber(const Token& t) {
        bool ok = false;
        if (t.type == Token::Word)
            QLocale::c().toDouble(t.text, &ok);
        return ok;
    }

    static QString mismatch(const Token& value, const ColumnSchema& column) {
        return QStringLiteral("%1 cannot be compared with column '%2' of kind %3")
            .arg(describe(value), column.name, fieldKindName(column.kind));
    }

    // The literal as the number its column compares by; refused when it is not of that sort.
    double numberFor(const Token& value, const ColumnSchema& column) const {
        bool ok = false;
        switch (column.kind) {
        case FieldKind::AutoInc:
        case FieldKind::Integer:
        case FieldKind::SmallInt:
        case FieldKind::Float:
        case FieldKind::Currency:
            if (value.type == Token::Word || value.type == Token::Text) {
                const double n = QLocale::c().toDouble(value.text.trimmed(), &ok);
                if (ok)
                    return n;
            }
            break;
        case FieldKind::DateTime:
            if (value.type == Token::Date || value.type == Token::Text) {
                if (const auto d = readDate(value.text.trimmed()))
                    return d->days;
                refuse(QStringLiteral("'%1' is not a valid date").arg(value.text));
            }
            if (value.type == Token::Word) {
                const double n = QLocale::c().toDouble(value.text, &ok);
                if (ok)
                    return n;
            }
            break;
        case FieldKind::Boolean:
            if (value.type == Token::Word || value.type == Token::Text) {
                if (value.text.compare(u"true", Qt::CaseInsensitive) == 0)
                    return 1;
                if (value.text.compare(u"false", Qt::CaseInsensitive) == 0)
                    return 0;
                const double n = QLocale::c().toDouble(value.text, &ok);
                if (ok)
                    return n != 0 ? 1 : 0;
            }
            break;
        default:
            break;
        }
        refuse(mismatch(value, column));
    }

    const QString& text_;
    const std::vector<ColumnSchema>& fields_;
    qsizetype pos_ = 0;
    Token token_;
    int depth_ = 0;
    int conditions_ = 0;
};

} // namespace

RowFilter::RowFilter() = default;
RowFilter::~RowFilter() = default;
RowFilter::RowFilter(const RowFilter&) = default;
RowFilter& RowFilter::operator=(const RowFilter&) = default;

RowFilter RowFilter::parse(const QString& text, const std::vector<ColumnSchema>& fields) {
    RowFilter f;
    if (!text.trimmed().isEmpty())
        f.root_ = Parser(text, fields).parseAll();
    return f;
}

bool RowFilter::passes(const RowSource& rows, int row) const {
    return !root_ || root_->eval(rows, row) == Truth::True;
}

std::vector<int> RowFilter::select(const RowSource& rows,
                                   const std::vector<int>& candidates) const {
    if (!root_)
        return candidates;
    std::vector<int> out;
    out.reserve(candidates.size());
    for (const int row : candidates)
        if (root_->eval(rows, row) == Truth::True)
            out.push_back(row);
    return out;
}

std::vector<int> RowFilter::select(const RowSource& rows) const {
    const int n = rows.rowCount();
    std::vector<int> out;
    out.reserve(size_t(n));
    for (int row = 0; row < n; ++row)
        if (!root_ || root_->eval(rows, row) == Truth::True)
            out.push_back(row);
    return out;
}

} // namespace kavelon
