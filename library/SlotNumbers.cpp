#include "library/SlotNumbers.h"

#include "common/Banks.h"

namespace toneloft {

SlotNumbering slotNumberingFromText(const std::string& text)
{
    return text == "A/B" ? SlotNumbering::Halves : SlotNumbering::Numbers;
}

std::string slotLabel(long positionInBank, SlotNumbering numbering)
{
    if (positionInBank < 1 || positionInBank > kVoicesPerBank)
        return {};
    if (numbering == SlotNumbering::Numbers)
        return std::to_string(positionInBank);
    const long half = kVoicesPerBank / 2;
    return (positionInBank <= half ? "A" : "B") + std::to_string((positionInBank - 1) % half + 1);
}

} // namespace toneloft
