#include "common/RecordsetValue.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace toneloft::recordset {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads a number at the start of text: optional sign, digits with at most one
// point, optional exponent. Words such as "inf" or "nan" are not numbers here.
std::optional<double> readNumber(std::string_view text, std::size_t& used)
{
    std::size_t start = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        start = 1;
    }
    const std::string_view rest = text.substr(start);
    const bool digitFirst = !rest.empty() && isDigit(rest[0]);
    const bool pointFirst = rest.size() > 1 && rest[0] == '.' && isDigit(rest[1]);
    if (!digitFirst && !pointFirst)
        return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (result.ec == std::errc::invalid_argument)
        return std::nullopt;
    // Out of range still consumed the digits; such a number is no use to anyone.
    if (result.ec == std::errc::result_out_of_range)
        return std::nullopt;
    used = start + static_cast<std::size_t>(result.ptr - rest.data());
    return negative ? -value : value;
}

std::string cutText(const Field& field, std::string text)
{
    if (field.size > 0) {
        const auto size = static_cast<std::size_t>(field.size);
        if (text.size() > size)
            text.resize(size);
        else if (field.fixed)
            text.resize(size, ' ');
    }
    return text;
}

std::optional<bool> readBoolean(std::string_view text)
{
    text = trimBlanks(text);
    if (compareText(text, "True") == 0)
        return true;
    if (compareText(text, "False") == 0)
        return false;
    if (const auto n = parseNumber(text))
        return *n != 0;
    return std::nullopt;
}

std::optional<std::int32_t> toLong(double d)
{
    if (!std::isfinite(d))
        return std::nullopt;
    const double r = std::round(d);
    if (r < std::numeric_limits<std::int32_t>::min() || r > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

std::optional<float> toSingle(double d)
{
    if (!std::isfinite(d) || std::fabs(d) > std::numeric_limits<float>::max())
        return std::nullopt;
    return static_cast<float>(d);
}

} // namespace

std::optional<std::size_t> findField(const std::vector<Field>& fields, std::string_view name)
{
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name == name)
            return i;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name.size() == name.size() && compareText(fields[i].name, name) == 0)
            return i;
    return std::nullopt;
}

char foldChar(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string foldCase(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded)
        c = foldChar(c);
    return folded;
}

std::string quoted(std::string_view text)
{
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out + "'";
}

int compareText(std::string_view a, std::string_view b)
{
    const std::size_t n = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(i < a.size() ? foldChar(a[i]) : ' ');
        const auto cb = static_cast<unsigned char>(i < b.size() ? foldChar(b[i]) : ' ');
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return 0;
}

std::optional<double> parseNumber(std::string_view text)
{
    text = trimBlanks(text);
    std::size_t used = 0;
    const auto n = readNumber(text, used);
    if (!n || used != text.size())
        return std::nullopt;
    return n;
}

double leadingNumber(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    std::size_t used = 0;
    return readNumber(text, used).value_or(0.0);
}

std::string numberText(float v)
{
    if (std::isnan(v))
        return "NaN";
    if (std::isinf(v))
        return v < 0 ? "-Inf" : "Inf";
    char buffer[64];
    const float magnitude = std::fabs(v);
    const bool plain = magnitude == 0 || (magnitude >= 1e-5f && magnitude < 1e15f);
    const auto result = plain ? std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed)
                              : std::to_chars(buffer, buffer + sizeof buffer, v);
    std::string text(buffer, result.ptr);
    if (text == "-0")
        text = "0";
    return text;
}

std::string valueText(const Value& v)
{
    if (const auto* s = std::get_if<std::string>(&v))
        return *s;
    if (const auto* b = std::get_if<bool>(&v))
        return *b ? "True" : "False";
    if (const auto* f = std::get_if<float>(&v))
        return numberText(*f);
    if (const auto* l = std::get_if<std::int32_t>(&v))
        return std::to_string(*l);
    return {};
}

double valueNumber(const Value& v)
{
    if (const auto* s = std::get_if<std::string>(&v))
        return leadingNumber(*s);
    if (const auto* b = std::get_if<bool>(&v))
        return *b ? 1.0 : 0.0;
    if (const auto* f = std::get_if<float>(&v))
        return static_cast<double>(*f);
    if (const auto* l = std::get_if<std::int32_t>(&v))
        return static_cast<double>(*l);
    return 0.0;
}

bool valueBoolean(const Value& v)
{
    if (const auto* s = std::get_if<std::string>(&v))
        return readBoolean(*s).value_or(false);
    if (const auto* b = std::get_if<bool>(&v))
        return *b;
    return valueNumber(v) != 0.0;
}

Value emptyValue(const Field& field)
{
    if (field.type == Recordset::FieldType::Text && field.fixed && field.size > 0)
        return std::string(static_cast<std::size_t>(field.size), ' ');
    return {};
}

bool convertValue(const Field& field, Value& v, Value& out)
{
    if (std::holds_alternative<std::monostate>(v)) {
        out = v;
        return true;
    }
    switch (field.type) {
    case Recordset::FieldType::Text:
        if (auto* s = std::get_if<std::string>(&v))
            out = cutText(field, std::move(*s));
        else
            out = cutText(field, valueText(v));
        return true;
    case Recordset::FieldType::Boolean:
        if (const auto* s = std::get_if<std::string>(&v)) {
            if (trimBlanks(*s).empty()) {
                out = std::monostate{};
                return true;
            }
            const auto b = readBoolean(*s);
            if (!b)
                return false;
            out = *b;
            return true;
        }
        out = valueBoolean(v);
        return true;
    case Recordset::FieldType::Single:
    case Recordset::FieldType::Long: {
        double d = 0;
        if (const auto* s = std::get_if<std::string>(&v)) {
            if (trimBlanks(*s).empty()) {
                out = std::monostate{};
                return true;
            }
            const auto n = parseNumber(*s);
            if (!n)
                return false;
            d = *n;
        } else {
            d = valueNumber(v);
        }
        if (field.type == Recordset::FieldType::Single) {
            const auto f = toSingle(d);
            if (!f)
                return false;
            out = *f;
        } else {
            const auto l = toLong(d);
            if (!l)
                return false;
            out = *l;
        }
        return true;
    }
    }
    return false;
}

} // namespace toneloft::recordset
