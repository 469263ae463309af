#pragma once

#include "common/Recordset.h"
#include "common/RecordsetStore.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace toneloft {

// The rows, shared by every cursor. A row lives in a slot that no other row
// takes until close(); its bookmark is the slot number plus one, counted on
// from the bookmarks handed out before the last close(), so a bookmark is
// never handed out twice.
struct Recordset::Table {
    std::vector<Field> fields;
    std::unordered_map<std::string, int> fieldByFoldedName;
    bool open = false;
    RecordsetStore store;             // the values, by slot
    std::vector<std::uint8_t> alive;  // by slot
    std::vector<std::uint32_t> order; // slots in table order; dead ones are dropped in batches
    std::size_t deadInOrder = 0;
    std::uint64_t version = 1;        // bumped whenever rows come or go
    std::uint64_t closings = 0;       // slots start again from 0 after each close()
    Bookmark bookmarkBase = 0;
    std::vector<Value> scratch;       // appendRow's converted values
    std::string padded;               // appendTextRow's blank-padded text

    std::size_t slotCount() const { return alive.size(); }

    std::uint32_t newRow()
    {
        alive.push_back(1);
        return store.addRow();
    }

    bool isAlive(std::uint32_t slot) const { return slot < alive.size() && alive[slot] != 0; }

    // A dead row's values are never read again.
    void kill(std::uint32_t slot)
    {
        alive[slot] = 0;
        ++deadInOrder;
    }

    // Amortised: the order is rewritten only once dead slots make up half of
    // it, or when an O(n) insert is about to pass over it anyway.
    void dropDeadFromOrder(bool now = false)
    {
        if (deadInOrder == 0 || (!now && (deadInOrder < 64 || deadInOrder * 2 < order.size())))
            return;
        std::erase_if(order, [this](std::uint32_t s) { return alive[s] == 0; });
        deadInOrder = 0;
    }
};

} // namespace toneloft
