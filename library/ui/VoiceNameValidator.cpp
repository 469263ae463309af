#include "library/ui/VoiceNameValidator.h"

#include "voice/VoiceFileFormat.h"

namespace toneloft {

namespace {
constexpr qsizetype kNameLength = 10;
} // namespace

QValidator::State VoiceNameValidator::validate(QString& input, int& /*position*/) const
{
    if (input.size() > kNameLength)
        return Invalid;
    for (const QChar c : input) {
        const char16_t u = c.unicode();
        if (u > 0xFF || !IsKeptNameCharacter(static_cast<std::uint8_t>(u)))
            return Invalid;
    }
    return Acceptable;
}

} // namespace toneloft
