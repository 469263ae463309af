#include "common/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <string_view>
#include <system_error>

namespace toneloft {

namespace {

// Both conversions go through std::to_chars so that the C locale the desktop
// program may switch to never turns the decimal point into a comma.

// The shortest of fixed and exponent notation, as %G writes it with the given
// number of significant digits: exponent form when the decimal exponent is
// below -4 or not below the digit count ("1E-05", "1E+15"), trailing zeros
// dropped. Then the zero before the point goes (".5", "-.5").
template <typename Real>
std::string generalText(Real value, int significantDigits)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Inf" : "Inf";
    if (value == 0)
        return "0"; // also for -0
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, significantDigits);
    std::string text(buffer, result.ptr);
    for (char& c : text)
        if (c == 'e')
            c = 'E';
    if (text.starts_with("0."))
        text.erase(0, 1);
    else if (text.starts_with("-0."))
        text.erase(1, 1);
    return text;
}

std::string withSignBlank(std::string text)
{
    if (!text.starts_with('-'))
        text.insert(text.begin(), ' ');
    return text;
}

// A finite, non-negative value as decimal digits: value = 0.digits × 10^pointPos,
// i.e. the first pointPos digits are the integer part (pointPos may be negative
// or beyond the digits; missing digits are zeros).
struct DecimalDigits {
    std::string digits;
    int pointPos = 0;
};

// Fifteen significant digits, the precision of a double, so that 1.005 rounds
// to 1.01 as the decimal value it was typed as rather than its binary neighbour.
DecimalDigits decimalDigits(double magnitude)
{
    DecimalDigits d;
    if (magnitude == 0)
        return d;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                      std::chars_format::scientific, 14);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t ePos = text.find('e');
    for (std::size_t i = 0; i < ePos; ++i)
        if (text[i] != '.')
            d.digits.push_back(text[i]);
    int exponent = 0;
    std::string_view expText = text.substr(ePos + 1);
    if (expText.starts_with('+'))
        expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
    d.pointPos = exponent + 1;
    return d;
}

// Rounds half away from zero so that fractionDigits digits follow the point.
void roundTo(DecimalDigits& d, int fractionDigits)
{
    const long keep = static_cast<long>(d.pointPos) + fractionDigits;
    if (keep >= static_cast<long>(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const auto keepCount = static_cast<std::size_t>(keep);
    const bool up = d.digits[keepCount] >= '5';
    d.digits.resize(keepCount);
    if (up) {
        std::size_t i = keepCount;
        while (i > 0 && d.digits[i - 1] == '9') {
            d.digits[i - 1] = '0';
            --i;
        }
        if (i == 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.pointPos;
        } else {
            ++d.digits[i - 1];
        }
    }
    if (d.digits.find_first_not_of('0') == std::string::npos)
        d.digits.clear();
}

bool isDigitPlaceholder(char c)
{
    return c == '0' || c == '#';
}

struct Picture {
    std::string_view integerPart;  // everything before the first '.'
    std::string_view fractionPart; // everything after it
    bool hasPoint = false;
    bool grouping = false;     // a ',' among the integer placeholders
    int minIntegerDigits = 0;  // placeholders from the first '0' to the point
    int fractionDigits = 0;    // all fraction placeholders
    int minFractionDigits = 0; // up to the last '0' among them
};

Picture parsePicture(std::string_view pattern)
{
    Picture p;
    const std::size_t point = pattern.find('.');
    p.hasPoint = point != std::string_view::npos;
    p.integerPart = pattern.substr(0, point);
    if (p.hasPoint)
        p.fractionPart = pattern.substr(point + 1);

    bool seenZero = false;
    for (char c : p.integerPart) {
        if (c == ',')
            p.grouping = true;
        if (!isDigitPlaceholder(c))
            continue;
        seenZero = seenZero || c == '0';
        if (seenZero)
            ++p.minIntegerDigits;
    }
    for (char c : p.fractionPart) {
        if (!isDigitPlaceholder(c))
            continue;
        ++p.fractionDigits;
        if (c == '0')
            p.minFractionDigits = p.fractionDigits;
    }
    return p;
}

// Writes the integer digits into the integer part of the picture from the
// right. Digits beyond the placeholders all go where the leftmost one stands;
// literals (blanks, ':') stay where they are; commas only switch grouping on.
std::string layOutInteger(const Picture& p, const std::string& digits)
{
    std::string reversed;
    std::size_t next = digits.size(); // digits[next - 1] is written next
    std::size_t written = 0;
    auto putDigit = [&] {
        if (p.grouping && written > 0 && written % 3 == 0)
            reversed.push_back(',');
        reversed.push_back(digits[--next]);
        ++written;
    };

    const std::size_t leftmost = p.integerPart.find_first_of("0#");
    if (leftmost == std::string_view::npos)
        while (next > 0)
            putDigit();
    for (std::size_t i = p.integerPart.size(); i-- > 0;) {
        const char c = p.integerPart[i];
        if (isDigitPlaceholder(c)) {
            if (next > 0)
                putDigit();
            if (i == leftmost)
                while (next > 0)
                    putDigit();
        } else if (c != ',') {
            reversed.push_back(c);
        }
    }
    return {reversed.rbegin(), reversed.rend()};
}

std::string layOutFraction(const Picture& p, const std::string& digits)
{
    std::string out;
    std::size_t next = 0;
    for (char c : p.fractionPart) {
        if (isDigitPlaceholder(c)) {
            if (next < digits.size())
                out.push_back(digits[next++]);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

} // namespace

std::string Str(long long n)
{
    return withSignBlank(std::to_string(n));
}

std::string Str(int n)
{
    return Str(static_cast<long long>(n));
}

std::string Str(double d)
{
    return withSignBlank(generalText(d, 15));
}

std::string Str(float f)
{
    return withSignBlank(generalText(f, 7));
}

std::string StrTrim(long long n)
{
    return std::to_string(n);
}

std::string Format(double value, const std::string& pattern)
{
    if (pattern.empty() || !std::isfinite(value))
        return generalText(value, 15);

    const Picture p = parsePicture(pattern);
    DecimalDigits d = decimalDigits(std::fabs(value));
    roundTo(d, p.fractionDigits);

    // Split the rounded digits at the point.
    std::string integerDigits;
    std::string fractionDigits;
    for (int i = 0; i < d.pointPos; ++i) {
        const auto at = static_cast<std::size_t>(i);
        integerDigits.push_back(at < d.digits.size() ? d.digits[at] : '0');
    }
    for (int i = 0; i < p.fractionDigits; ++i) {
        const long at = static_cast<long>(d.pointPos) + i;
        const bool present = at >= 0 && at < static_cast<long>(d.digits.size());
        fractionDigits.push_back(present ? d.digits[static_cast<std::size_t>(at)] : '0');
    }
    const auto minFraction = static_cast<std::size_t>(p.minFractionDigits);
    while (fractionDigits.size() > minFraction && fractionDigits.back() == '0')
        fractionDigits.pop_back();
    const auto minInteger = static_cast<std::size_t>(p.minIntegerDigits);
    if (integerDigits.size() < minInteger)
        integerDigits.insert(0, minInteger - integerDigits.size(), '0');

    std::string text;
    if (value < 0 && !d.digits.empty())
        text.push_back('-');
    text += layOutInteger(p, integerDigits);
    if (p.hasPoint)
        text += '.' + layOutFraction(p, fractionDigits);
    return text;
}

std::string FormatDateTime(long long secondsSinceEpoch)
{
    const auto t = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
#ifdef _WIN32
    const bool ok = localtime_s(&local, &t) == 0;
#else
    const bool ok = localtime_r(&t, &local) != nullptr;
#endif
    if (!ok)
        return {};
    // Day, month, four-digit year; 24-hour time.
    char buffer[64];
    const std::size_t n = std::strftime(buffer, sizeof buffer, "%d/%m/%Y.%H:%M:%S", &local);
    return std::string(buffer, n);
}

} // namespace toneloft
