#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace toneloft {

// The voice-list printout as text at tab columns, apart from any printer: up
// to four blocks a page, one below the other, each of up to four voice sets
// (banks of 32) side by side; a set shows voices 1-16 under "BANK A" and 17-32
// under "BANK B".
class VoiceListPrintLayout {
public:
    static constexpr int kRowsPerBlock = 16;
    static constexpr int kSetsPerBlock = 4;
    static constexpr int kBlocksPerPage = 4;
    static constexpr int kBanksPerPage = kSetsPerBlock * kBlocksPerPage;
    static constexpr int kColumnWidth = 18; // characters

    struct Set {
        long number = 0;                          // "Voice Set" n: the bank's number in the list
        std::array<std::string, kRowsPerBlock> bankA; // names of voices 1-16 ("" past the end)
        std::array<std::string, kRowsPerBlock> bankB; // voices 17-32
    };
    struct Block {
        std::vector<Set> sets;
    };
    struct Page {
        int number = 0;
        int total = 0;
        std::vector<Block> blocks;
    };

    // Pages for banks firstBank..lastBank (1-based, clamped to the list).
    static std::vector<Page> layout(const std::vector<std::string>& names, long firstBank, long lastBank);
    static int pageCount(long banks);

    // Tab columns (in characters) of the k-th set of a block, k = 1..4.
    static int bankAColumn(int k) { return kColumnWidth * (2 * k - 1); }
    static int bankBColumn(int k) { return kColumnWidth * 2 * k; }
    // Half a column in from "BANK A", over the middle of the set.
    static int setColumn(int k) { return bankAColumn(k) + kColumnWidth / 2; }

    // Characters of code 128 or more print as blanks.
    static std::string printableName(std::string_view name);
    // "Voice listing for NAME at  DATE.TIME"; dateTime as FormatDateTime writes it.
    static std::string heading(const std::string& listName, const std::string& dateTime);
    static std::string pageText(int number, int total);
};

} // namespace toneloft
