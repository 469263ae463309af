#include "common/RecordsetFilter.h"

#include "common/RecordsetValue.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace toneloft {

namespace {

using recordset::compareText;
using recordset::foldChar;

// Deeper nesting than this is no filter anyone writes; refusing it keeps the
// recursive parser off the end of the stack.
constexpr int kMaxDepth = 64;

bool isWildcard(char c)
{
    return c == '*' || c == '%';
}

bool isNameStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

bool isNameChar(char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '.';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool equalFolded(char a, char b)
{
    return foldChar(a) == b;
}

} // namespace

class RecordsetFilter::Parser {
public:
    Parser(std::string_view text, const std::vector<Recordset::Field>& fields, RecordsetFilter& out)
        : m_text(text), m_fields(fields), m_out(out)
    {
    }

    bool run(Recordset::ErrorCode& code, std::string& message)
    {
        next();
        std::size_t root = 0;
        if (m_ok && parseOr(0, root) && m_ok) {
            if (m_token.type == TokenType::End) {
                m_out.m_root = root;
                return true;
            }
            fail("unexpected '" + std::string(m_token.text) + "'");
        }
        code = m_code;
        message = m_message;
        return false;
    }

private:
    enum class TokenType { End, Open, Close, Name, String, Number, Operator };

    struct Token {
        TokenType type = TokenType::End;
        std::string_view text; // the token as written (for String: without the quotes)
        std::string value;     // String: the text with '' undoubled; Name: the name
        std::size_t at = 0;
        bool bracketed = false;
    };

    bool fail(const std::string& what, Recordset::ErrorCode code = Recordset::ErrorCode::Syntax)
    {
        if (m_ok) {
            m_ok = false;
            m_code = code;
            if (code == Recordset::ErrorCode::Syntax)
                m_message = "Syntax error in filter \"" + std::string(m_text) + "\" at character " +
                            std::to_string(m_token.at + 1) + ": " + what;
            else
                m_message = what;
        }
        return false;
    }

    bool isKeyword(const Token& t, std::string_view word) const
    {
        return t.type == TokenType::Name && !t.bracketed && t.value.size() == word.size() &&
               compareText(t.value, word) == 0;
    }

    void next()
    {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' ||
                                         m_text[m_pos] == '\r' || m_text[m_pos] == '\n'))
            ++m_pos;
        m_token = Token{};
        m_token.at = m_pos;
        if (m_pos >= m_text.size())
            return;
        const char c = m_text[m_pos];
        const std::size_t start = m_pos;
        if (c == '(' || c == ')') {
            m_token.type = c == '(' ? TokenType::Open : TokenType::Close;
            m_token.text = m_text.substr(m_pos++, 1);
        } else if (c == '[') {
            const std::size_t end = m_text.find(']', start + 1);
            if (end == std::string_view::npos) {
                fail("missing ']'");
                return;
            }
            m_token.type = TokenType::Name;
            m_token.bracketed = true;
            m_token.text = m_text.substr(start, end + 1 - start);
            m_token.value = std::string(m_text.substr(start + 1, end - start - 1));
            m_pos = end + 1;
        } else if (c == '\'') {
            ++m_pos;
            std::string value;
            for (;;) {
                if (m_pos >= m_text.size()) {
                    fail("missing closing quote");
                    return;
                }
                if (m_text[m_pos] == '\'') {
                    if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\'') {
                        value.push_back('\'');
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    break;
                }
                value.push_back(m_text[m_pos++]);
            }
            m_token.type = TokenType::String;
            m_token.text = m_text.substr(start, m_pos - start);
            m_token.value = std::move(value);
        } else if (c == '<' || c == '>' || c == '=') {
            std::size_t length = 1;
            if (m_pos + 1 < m_text.size()) {
                const char d = m_text[m_pos + 1];
                if ((c == '<' && (d == '>' || d == '=')) || (c == '>' && d == '='))
                    length = 2;
            }
            m_token.type = TokenType::Operator;
            m_token.text = m_text.substr(start, length);
            m_pos += length;
        } else if (isDigit(c) || c == '.' || c == '-' || c == '+') {
            // Sign, digits, one point, an exponent; parseNumber decides whether it reads.
            std::size_t end = start + 1;
            while (end < m_text.size()) {
                const char d = m_text[end];
                const bool exponentSign = (d == '+' || d == '-') && (m_text[end - 1] == 'e' || m_text[end - 1] == 'E');
                if (!isDigit(d) && d != '.' && d != 'e' && d != 'E' && !exponentSign)
                    break;
                ++end;
            }
            m_token.type = TokenType::Number;
            m_token.text = m_text.substr(start, end - start);
            m_pos = end;
            const auto n = recordset::parseNumber(m_token.text);
            if (!n) {
                fail("'" + std::string(m_token.text) + "' is not a number");
                return;
            }
            m_number = *n;
        } else if (isNameStart(c)) {
            std::size_t end = start + 1;
            while (end < m_text.size() && isNameChar(m_text[end]))
                ++end;
            m_token.type = TokenType::Name;
            m_token.text = m_text.substr(start, end - start);
            m_token.value = std::string(m_token.text);
            m_pos = end;
        } else {
            m_token.text = m_text.substr(start, 1);
            fail("unexpected '" + std::string(m_token.text) + "'");
        }
    }

    bool parseOr(int depth, std::size_t& node)
    {
        if (!parseAnd(depth, node))
            return false;
        while (isKeyword(m_token, "OR")) {
            next();
            std::size_t right = 0;
            if (!m_ok || !parseAnd(depth, right))
                return false;
            node = join(Node::Type::Or, node, right);
        }
        return m_ok;
    }

    bool parseAnd(int depth, std::size_t& node)
    {
        if (!parsePrimary(depth, node))
            return false;
        while (isKeyword(m_token, "AND")) {
            next();
            std::size_t right = 0;
            if (!m_ok || !parsePrimary(depth, right))
                return false;
            node = join(Node::Type::And, node, right);
        }
        return m_ok;
    }

    bool parsePrimary(int depth, std::size_t& node)
    {
        if (m_token.type == TokenType::Open) {
            if (depth >= kMaxDepth)
                return fail("too many parentheses");
            next();
            if (!m_ok || !parseOr(depth + 1, node))
                return false;
            if (m_token.type != TokenType::Close)
                return fail("missing ')'");
            next();
            return m_ok;
        }
        return parseComparison(node);
    }

    std::size_t join(Node::Type type, std::size_t left, std::size_t right)
    {
        m_out.m_nodes.push_back(Node{type, left, right});
        return m_out.m_nodes.size() - 1;
    }

    bool parseComparison(std::size_t& node)
    {
        if (m_token.type != TokenType::Name || isKeyword(m_token, "AND") || isKeyword(m_token, "OR"))
            return fail(m_token.type == TokenType::End ? "expected a field name at the end"
                                                       : "expected a field name");
        const auto field = recordset::findField(m_fields, m_token.value);
        if (!field)
            return fail("Unknown field '" + m_token.value + "' in filter \"" + std::string(m_text) + "\"",
                        Recordset::ErrorCode::UnknownField);
        next();
        if (!m_ok)
            return false;

        Comparison c;
        c.field = *field;
        if (isKeyword(m_token, "LIKE"))
            c.op = Op::Like;
        else if (m_token.type != TokenType::Operator)
            return fail("expected one of = <> < > <= >= LIKE");
        else if (m_token.text == "=")
            c.op = Op::Equal;
        else if (m_token.text == "<>")
            c.op = Op::NotEqual;
        else if (m_token.text == "<")
            c.op = Op::Less;
        else if (m_token.text == ">")
            c.op = Op::Greater;
        else if (m_token.text == "<=")
            c.op = Op::LessEqual;
        else
            c.op = Op::GreaterEqual;
        next();
        if (!m_ok)
            return false;
        if (!fillValue(m_fields[*field], c))
            return false;
        next();
        if (!m_ok)
            return false;
        m_out.m_comparisons.push_back(std::move(c));
        m_out.m_nodes.push_back(Node{Node::Type::Compare, m_out.m_comparisons.size() - 1, 0});
        node = m_out.m_nodes.size() - 1;
        return true;
    }

    bool mismatch(const Recordset::Field& field)
    {
        return fail("Field '" + field.name + "' cannot be compared with " + std::string(m_token.text) +
                        " in filter \"" + std::string(m_text) + "\"",
                    Recordset::ErrorCode::TypeMismatch);
    }

    // The value token against the field's type; sets kind and literal.
    bool fillValue(const Recordset::Field& field, Comparison& c)
    {
        const bool isTrue = isKeyword(m_token, "TRUE");
        const bool isFalse = isKeyword(m_token, "FALSE");
        const bool isString = m_token.type == TokenType::String;
        const bool isNumber = m_token.type == TokenType::Number;
        if (!isTrue && !isFalse && !isString && !isNumber)
            return fail("expected a value ('text', a number, True or False)");

        switch (field.type) {
        case Recordset::FieldType::Text:
            if (c.op == Op::Like) {
                if (!isString && !isNumber)
                    return mismatch(field);
                return fillPattern(isString ? m_token.value : std::string(m_token.text), c);
            }
            if (isNumber) {
                c.kind = Kind::TextOrNumber;
                c.number = m_number;
                c.text = std::string(m_token.text);
            } else {
                c.kind = Kind::Text;
                c.text = isString ? m_token.value : (isTrue ? "True" : "False");
            }
            return true;
        case Recordset::FieldType::Boolean: {
            if (c.op != Op::Equal && c.op != Op::NotEqual)
                return mismatch(field);
            c.kind = Kind::Boolean;
            if (isTrue || isFalse) {
                c.flag = isTrue;
            } else if (isNumber) {
                c.flag = m_number != 0;
            } else if (compareText(m_token.value, "True") == 0 && !m_token.value.empty()) {
                c.flag = true;
            } else if (compareText(m_token.value, "False") == 0 && !m_token.value.empty()) {
                c.flag = false;
            } else if (const auto n = recordset::parseNumber(m_token.value)) {
                c.flag = *n != 0;
            } else {
                return mismatch(field);
            }
            return true;
        }
        case Recordset::FieldType::Single:
        case Recordset::FieldType::Long: {
            if (c.op == Op::Like)
                return mismatch(field);
            c.kind = Kind::Number;
            if (isTrue || isFalse) {
                c.number = isTrue ? 1.0 : 0.0;
            } else if (isNumber) {
                c.number = m_number;
            } else if (const auto n = recordset::parseNumber(m_token.value)) {
                c.number = *n;
            } else {
                return mismatch(field);
            }
            // A Single holds 1.1 as 1.1f; compare like with like.
            if (field.type == Recordset::FieldType::Single &&
                std::fabs(c.number) <= static_cast<double>(std::numeric_limits<float>::max()))
                c.number = static_cast<double>(static_cast<float>(c.number));
            return true;
        }
        }
        return mismatch(field);
    }

    // Wildcards (* or %) only at the end ("BAS*"), at both ends ("*AS*"), or
    // alone; no wildcard at all means the whole value, blanks included.
    bool fillPattern(const std::string& pattern, Comparison& c)
    {
        c.kind = Kind::Like;
        const bool lead = !pattern.empty() && isWildcard(pattern.front());
        const bool trail = pattern.size() > 1 && isWildcard(pattern.back());
        std::string_view core(pattern);
        if (lead)
            core.remove_prefix(1);
        if (trail)
            core.remove_suffix(1);
        const bool embedded = std::any_of(core.begin(), core.end(), isWildcard);
        const bool leadOnly = lead && !trail && pattern.size() > 1;
        if (embedded || leadOnly)
            return fail("The pattern '" + pattern +
                            "' has a wildcard in a place where it is not allowed: * or % may stand at the "
                            "end of the text, or at both its beginning and end (BAS* or *AS*)",
                        Recordset::ErrorCode::BadPattern);
        c.text = recordset::foldCase(core);
        if (core.empty() && (lead || trail))
            c.like = LikeMode::All;
        else if (lead)
            c.like = LikeMode::Contains;
        else if (trail)
            c.like = LikeMode::Prefix;
        else
            c.like = LikeMode::Exact;
        return true;
    }

    std::string_view m_text;
    const std::vector<Recordset::Field>& m_fields;
    RecordsetFilter& m_out;
    std::size_t m_pos = 0;
    Token m_token;
    double m_number = 0;
    bool m_ok = true;
    Recordset::ErrorCode m_code = Recordset::ErrorCode::None;
    std::string m_message;
};

std::shared_ptr<const RecordsetFilter> RecordsetFilter::compile(std::string_view criteria,
                                                                const std::vector<Recordset::Field>& fields,
                                                                Recordset::ErrorCode& code, std::string& message)
{
    auto filter = std::make_shared<RecordsetFilter>();
    Parser parser(criteria, fields, *filter);
    if (!parser.run(code, message))
        return nullptr;
    code = Recordset::ErrorCode::None;
    message.clear();
    return filter;
}

bool RecordsetFilter::matches(const RecordsetStore& rows, std::uint32_t slot) const
{
    return !m_nodes.empty() && evaluate(m_root, rows, slot);
}

bool RecordsetFilter::evaluate(std::size_t node, const RecordsetStore& rows, std::uint32_t slot) const
{
    const Node& n = m_nodes[node];
    switch (n.type) {
    case Node::Type::And:
        return evaluate(n.a, rows, slot) && evaluate(n.b, rows, slot);
    case Node::Type::Or:
        return evaluate(n.a, rows, slot) || evaluate(n.b, rows, slot);
    case Node::Type::Compare:
        break;
    }
    return test(m_comparisons[n.a], rows, slot);
}

bool RecordsetFilter::holds(Op op, int order)
{
    switch (op) {
    case Op::Equal:
        return order == 0;
    case Op::NotEqual:
        return order != 0;
    case Op::Less:
        return order < 0;
    case Op::Greater:
        return order > 0;
    case Op::LessEqual:
        return order <= 0;
    case Op::GreaterEqual:
        return order >= 0;
    case Op::Like:
        break;
    }
    return false;
}

// Null reads as the field type's empty value ("" / 0 / False), so a row that
// was never given a value still takes part in comparisons.
bool RecordsetFilter::test(const Comparison& c, const RecordsetStore& rows, std::uint32_t slot) const
{
    const std::string_view text = rows.text(slot, c.field);
    const auto numberOrder = [](double a, double b) { return a < b ? -1 : (a > b ? 1 : 0); };

    switch (c.kind) {
    case Kind::Text:
        return holds(c.op, compareText(text, c.text));
    case Kind::TextOrNumber:
        if (const auto n = recordset::parseNumber(text))
            return holds(c.op, numberOrder(*n, c.number));
        return holds(c.op, compareText(text, c.text));
    case Kind::Like:
        switch (c.like) {
        case LikeMode::All:
            return true;
        case LikeMode::Exact:
            return text.size() == c.text.size() && std::equal(text.begin(), text.end(), c.text.begin(), equalFolded);
        case LikeMode::Prefix:
            return text.size() >= c.text.size() &&
                   std::equal(c.text.begin(), c.text.end(), text.begin(),
                              [](char p, char t) { return equalFolded(t, p); });
        case LikeMode::Contains:
            return std::search(text.begin(), text.end(), c.text.begin(), c.text.end(), equalFolded) != text.end();
        }
        return false;
    case Kind::Number:
        return holds(c.op, numberOrder(recordset::valueNumber(rows.value(slot, c.field)), c.number));
    case Kind::Boolean:
        return (recordset::valueBoolean(rows.value(slot, c.field)) == c.flag) == (c.op == Op::Equal);
    }
    return false;
}

} // namespace toneloft
