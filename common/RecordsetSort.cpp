#include "common/RecordsetSort.h"

#include "common/RecordsetValue.h"

#include <algorithm>
#include <cstring>

namespace toneloft {

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool endsWithWord(std::string_view s, std::string_view word)
{
    if (s.size() <= word.size())
        return false;
    const std::string_view tail = s.substr(s.size() - word.size());
    const char before = s[s.size() - word.size() - 1];
    return recordset::compareText(tail, word) == 0 && (before == ' ' || before == '\t' || before == ']');
}

// Both texts already folded; the shorter one reads as padded with blanks.
int comparePadded(const std::string& a, const std::string& b)
{
    const std::size_t common = std::min(a.size(), b.size());
    const int order = std::memcmp(a.data(), b.data(), common);
    if (order != 0)
        return order;
    const bool aLonger = a.size() > b.size();
    const std::string& longer = aLonger ? a : b;
    for (std::size_t i = common; i < longer.size(); ++i) {
        const auto c = static_cast<unsigned char>(longer[i]);
        if (c != ' ')
            return (c > ' ') == aLonger ? 1 : -1;
    }
    return 0;
}

// One row's value under one key, made once so that comparing is cheap.
struct SortValue {
    std::string text; // folded, for text keys
    double number = 0;
};

} // namespace

std::optional<RecordsetSort> RecordsetSort::compile(std::string_view text, const std::vector<Recordset::Field>& fields,
                                                    Recordset::ErrorCode& code, std::string& message)
{
    RecordsetSort sort;
    const auto fail = [&](Recordset::ErrorCode c, std::string m) {
        code = c;
        message = std::move(m);
        return std::nullopt;
    };
    std::string_view rest = text;
    while (!trim(rest).empty()) {
        const std::size_t comma = rest.find(',');
        std::string_view part = trim(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        if (part.empty())
            return fail(Recordset::ErrorCode::Syntax, "Syntax error in sort \"" + std::string(text) + "\"");

        Key key;
        if (endsWithWord(part, "DESC")) {
            key.descending = true;
            part = trim(part.substr(0, part.size() - 4));
        } else if (endsWithWord(part, "ASC")) {
            part = trim(part.substr(0, part.size() - 3));
        }
        if (part.size() >= 2 && part.front() == '[' && part.back() == ']')
            part = part.substr(1, part.size() - 2);

        const auto field = recordset::findField(fields, part);
        if (!field)
            return fail(Recordset::ErrorCode::UnknownField,
                        "Unknown field '" + std::string(part) + "' in sort \"" + std::string(text) + "\"");
        key.field = *field;
        key.type = fields[*field].type;
        sort.m_keys.push_back(key);
    }
    code = Recordset::ErrorCode::None;
    message.clear();
    return sort;
}

void RecordsetSort::apply(std::vector<std::uint32_t>& slots, const RecordsetStore& rows) const
{
    if (m_keys.empty())
        return;
    const std::size_t n = slots.size();
    const std::size_t k = m_keys.size();
    std::vector<SortValue> values(n * k);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < k; ++j) {
            const Key& key = m_keys[j];
            SortValue& v = values[i * k + j];
            if (key.type == Recordset::FieldType::Text) {
                v.text = recordset::foldCase(rows.text(slots[i], key.field));
            } else {
                const Recordset::Value value = rows.value(slots[i], key.field);
                v.number = key.type == Recordset::FieldType::Boolean ? (recordset::valueBoolean(value) ? 1.0 : 0.0)
                                                                     : recordset::valueNumber(value);
            }
        }
    }

    std::vector<std::uint32_t> index(n);
    for (std::size_t i = 0; i < n; ++i)
        index[i] = static_cast<std::uint32_t>(i);
    std::stable_sort(index.begin(), index.end(), [&](std::uint32_t a, std::uint32_t b) {
        for (std::size_t j = 0; j < k; ++j) {
            const SortValue& va = values[a * k + j];
            const SortValue& vb = values[b * k + j];
            const int order = m_keys[j].type == Recordset::FieldType::Text
                                  ? comparePadded(va.text, vb.text)
                                  : (va.number < vb.number ? -1 : (va.number > vb.number ? 1 : 0));
            if (order != 0)
                return m_keys[j].descending ? order > 0 : order < 0;
        }
        return false;
    });
    std::vector<std::uint32_t> sorted(n);
    for (std::size_t i = 0; i < n; ++i)
        sorted[i] = slots[index[i]];
    slots = std::move(sorted);
}

} // namespace toneloft
