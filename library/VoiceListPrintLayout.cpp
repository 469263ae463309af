#include "library/VoiceListPrintLayout.h"

#include "common/Banks.h"

#include <algorithm>

namespace toneloft {

int VoiceListPrintLayout::pageCount(long banks)
{
    return banks < 1 ? 1 : static_cast<int>((banks + kBanksPerPage - 1) / kBanksPerPage);
}

std::string VoiceListPrintLayout::printableName(std::string_view name)
{
    std::string out(name);
    for (char& c : out)
        if (static_cast<unsigned char>(c) >= 128)
            c = ' ';
    return out;
}

std::string VoiceListPrintLayout::heading(const std::string& listName, const std::string& dateTime)
{
    return "Voice listing for " + listName + " at  " + dateTime;
}

std::string VoiceListPrintLayout::pageText(int number, int total)
{
    return "Page " + std::to_string(number) + " of " + std::to_string(total);
}

std::vector<VoiceListPrintLayout::Page> VoiceListPrintLayout::layout(const std::vector<std::string>& names,
                                                                     long firstBank, long lastBank)
{
    const long voices = static_cast<long>(names.size());
    const long banks = BankCount(voices);
    firstBank = std::clamp(firstBank, 1L, banks);
    lastBank = std::clamp(lastBank, firstBank, banks);
    const long printed = lastBank - firstBank + 1;
    const int total = pageCount(printed);

    const auto nameOf = [&](long voice) {
        return voice >= 1 && voice <= voices ? printableName(names[static_cast<std::size_t>(voice - 1)])
                                             : std::string();
    };

    std::vector<Page> pages;
    for (long bank = firstBank; bank <= lastBank; ++bank) {
        const long index = bank - firstBank;
        if (index % kBanksPerPage == 0)
            pages.push_back({static_cast<int>(pages.size()) + 1, total, {}});
        Page& page = pages.back();
        if (index % kSetsPerBlock == 0)
            page.blocks.emplace_back();
        Set set;
        set.number = bank;
        const long first = FirstVoiceOfBank(bank);
        for (int r = 0; r < kRowsPerBlock; ++r) {
            set.bankA[static_cast<std::size_t>(r)] = nameOf(first + r);
            set.bankB[static_cast<std::size_t>(r)] = nameOf(first + r + kRowsPerBlock);
        }
        page.blocks.back().sets.push_back(std::move(set));
    }
    return pages;
}

} // namespace toneloft
