#pragma once

#include <string>

namespace toneloft {

// How the list windows number the 32 slots of a bank: 1..32, or as the two
// halves of a cartridge, A1..A16 and B1..B16 (the first and second column).
enum class SlotNumbering { Numbers, Halves };

// The stored preference: "A/B" means halves; anything else (the default
// "1-32" included) means numbers.
SlotNumbering slotNumberingFromText(const std::string& text);

// The label of a slot, position 1..32 within its bank; empty outside.
std::string slotLabel(long positionInBank, SlotNumbering numbering);

} // namespace toneloft
