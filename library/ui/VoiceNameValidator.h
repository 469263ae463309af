#pragma once

#include <QValidator>

namespace toneloft {

// Voice names as typed: at most 10 characters, each one a file keeps when it
// is read back (IsKeptNameCharacter); anything else is refused as it is typed
// or pasted.
class VoiceNameValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

} // namespace toneloft
