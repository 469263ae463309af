#include "editor/modOscillator.h"

#include "common/NumberText.h"

#include <cctype>
#include <cmath>

namespace toneloft::modOscillator {
namespace {

// The fixed-frequency fine table in thousandths: 1000 x 10^(fine / 100) to
// the nearest whole number (1000, 1023, 1047 ... 9772).
long fixedThousandths(int fine)
{
    return std::lround(1000.0 * std::pow(10.0, fine / 100.0));
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

} // namespace

std::optional<double> LeadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    double whole = 0;
    int digits = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits)
        whole = whole * 10 + (text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits) {
            whole += (text[i] - '0') * scale;
            scale /= 10;
        }
    }
    if (digits == 0)
        return std::nullopt;
    return negative ? -whole : whole;
}

std::string FrequencyText(int mode, int coarse, int fine)
{
    if (mode == 0) {
        // coarse x m + coarse with m = fine / 100, in single precision as the
        // display table holds it.
        const float m = static_cast<float>(fine) / 100.0f;
        const float c = coarse == 0 ? 0.5f : static_cast<float>(coarse);
        return Format(static_cast<double>(c * m + c), coarse == 0 ? "#.###" : "##.0#");
    }
    static const char* const patterns[] = {"#.000", "#0.00", "##0.0", "0000"};
    const int decade = ((coarse % 4) + 4) % 4;
    const float m = static_cast<float>(fixedThousandths(fine)) / 1000.0f - 1.0f;
    const double hz = std::pow(10.0, decade) * static_cast<double>(m + 1.0f);
    return Format(hz, patterns[decade]) + " Hz";
}

std::string AlgorithmCaption(int algorithm)
{
    return "  Algorithm " + Str(algorithm + 1) + "  ";
}

std::optional<CoarseFine> ParseTypedFrequency(std::string_view text, bool fixed)
{
    text = trimmed(text);
    if (text.size() >= 2) {
        const std::string_view tail = text.substr(text.size() - 2);
        if ((tail[0] == 'H' || tail[0] == 'h') && (tail[1] == 'z' || tail[1] == 'Z'))
            text.remove_suffix(2);
    }
    const std::optional<double> number = LeadingNumber(text);
    if (!number || *number < 0.5 || *number > 9772.0)
        return std::nullopt;
    const double f = *number;

    if (fixed) {
        CoarseFine result;
        double target = 0;
        const double bands[4][2] = {{1, 9.999}, {10, 99.999}, {100, 999.999}, {1000, 9999.999}};
        for (int c = 0; c < 4; ++c) {
            if (f >= bands[c][0] && f <= bands[c][1]) {
                result.coarse = c;
                target = (f / bands[c][0] - 1.0) * 1000.0;
                break;
            }
        }
        const long wanted = std::lround(target);
        for (int fine = 0; fine <= 99; ++fine) {
            if (fixedThousandths(fine) - 1000 == wanted) {
                result.fine = fine;
                return result;
            }
        }
        return std::nullopt;
    }

    // The first pair, coarse before fine; equal to within single precision.
    for (int c = 0; c <= 31; ++c) {
        const double ratio = c == 0 ? 0.5 : c;
        for (int fine = 0; fine <= 99; ++fine) {
            if (std::fabs(ratio * (100 + fine) / 100.0 - f) <= 1e-6 * f)
                return CoarseFine{c, fine};
        }
    }
    return std::nullopt;
}

} // namespace toneloft::modOscillator
