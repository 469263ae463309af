#pragma once

#include <vector>

namespace toneloft {

// One value a graph gesture gives a VoiceData row. param is the row's ParamID
// (1..155); send says whether the change goes to the synthesiser at once as a
// parameter change, or waits for the next whole-voice send.
struct ParameterWrite {
    int param = 0;
    int value = 0;
    bool send = true;

    friend bool operator==(const ParameterWrite&, const ParameterWrite&) = default;
};

using ParameterWrites = std::vector<ParameterWrite>;

} // namespace toneloft
