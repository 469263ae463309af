#pragma once

#include "editor/ParameterWrite.h"

#include <functional>

namespace toneloft {

// How a graph reaches the voice it shows, by ParamID (1..155) and nothing else,
// so it works over any editor's tables.
//   value(param) -> the row's Value now;
//   write(writes) -> store one gesture step's values (one drag step, one key
//   press) and send those marked send. The graph redraws itself after a write;
//   changes from elsewhere reach it through refresh().
struct GraphParameterLink {
    std::function<int(int param)> value;
    std::function<void(const ParameterWrites& writes)> write;
};

} // namespace toneloft
