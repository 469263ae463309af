#include "library/DragData.h"

#include "common/NumberText.h"
#include "voice/VoiceList.h"

#include <algorithm>
#include <charconv>

namespace toneloft {

namespace {

std::vector<std::string> splitAtCommas(std::string_view text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto comma = text.find(',', start);
        parts.emplace_back(text.substr(start, comma == std::string_view::npos ? text.npos : comma - start));
        if (comma == std::string_view::npos)
            return parts;
        start = comma + 1;
    }
}

// A number as Str writes it: one optional leading blank, digits only.
std::optional<long> readNumber(std::string_view s)
{
    if (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    long value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || value < 0)
        return std::nullopt;
    return value;
}

} // namespace

std::string DragData::text() const
{
    std::string out = StrTrim(fileType) + "," + key + "," + Str(static_cast<long>(voices.size())) + ",";
    for (long v : voices)
        out += Str(v) + ",";
    return out + ":";
}

std::optional<DragData> DragData::parse(std::string_view text)
{
    const auto parts = splitAtCommas(text);
    if (parts.size() < 4 || parts.back() != ":")
        return std::nullopt;
    const auto type = readNumber(parts[0]);
    const auto count = readNumber(parts[2]);
    if (!type || !count || *type > 3 || parts[1].empty())
        return std::nullopt;
    DragData d;
    d.fileType = static_cast<int>(*type);
    d.key = parts[1];
    for (std::size_t i = 3; i + 1 < parts.size(); ++i) {
        const auto v = readNumber(parts[i]);
        if (!v || *v < 1 || (!d.voices.empty() && *v <= d.voices.back()))
            return std::nullopt;
        d.voices.push_back(*v);
    }
    if (static_cast<long>(d.voices.size()) != *count)
        return std::nullopt;
    return d;
}

DragData DragData::fromSelection(const VoiceList& list)
{
    return {list.FileType, list.ID, list.tracker.selected()};
}

long FindSelectionsBeforeTargetB(const std::vector<std::string>& parts, long target)
{
    long before = 0;
    for (std::size_t i = 3; i + 1 < parts.size(); ++i) {
        const auto v = readNumber(parts[i]);
        if (v && *v < target)
            ++before;
    }
    return before;
}

long FindSelectionsBeforeTarget(std::string_view dragText, long target)
{
    const auto colon = dragText.find(':');
    return FindSelectionsBeforeTargetB(splitAtCommas(dragText.substr(0, colon == dragText.npos ? dragText.size() : colon + 1)), target);
}

} // namespace toneloft
