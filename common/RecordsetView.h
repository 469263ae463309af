#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace toneloft {

// The rows one Recordset cursor shows, in its order, as table slots.
//
// A row deleted through the cursor stays in place as a dead entry until the
// view is next rebuilt, so the entries around it keep their indexes and a run
// of deletions costs no shifting. While any entry is dead, live positions are
// counted with a Fenwick tree over the dead marks (O(log n)); with none dead,
// index and position are the same and everything is O(1).
class RecordsetView {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    void assign(std::vector<std::uint32_t> slots); // all live
    void clear();

    std::size_t size() const { return m_slots.size(); } // entries, dead ones included
    std::size_t liveCount() const { return m_slots.size() - m_deadCount; }
    std::uint32_t slot(std::size_t index) const { return m_slots[index]; }
    bool isDead(std::size_t index) const { return m_deadCount != 0 && m_dead[index] != 0; }

    void markDead(std::size_t index);
    void append(std::uint32_t slot);
    // O(n). Drops the dead entries first, so a run of inserts after a delete
    // pays for that once; returns the index the new entry got.
    std::size_t insert(std::size_t index, std::uint32_t slot);

    std::size_t liveBefore(std::size_t index) const;     // live entries with a smaller index
    std::size_t indexOfLive(std::size_t position) const; // 0-based live position; size() past the end
    std::size_t nextLive(std::size_t index) const;       // first live index >= index, or size()
    std::size_t previousLive(std::size_t index) const;   // last live index <= index, or npos

    // Index of the entry for a slot (dead or not), npos when absent. The map
    // behind it is built on first use after a change that moves entries.
    std::size_t indexOfSlot(std::uint32_t slot) const;

private:
    std::size_t deadPrefix(std::size_t count) const; // dead among the first count entries

    std::vector<std::uint32_t> m_slots;
    std::vector<std::uint8_t> m_dead;  // empty while nothing is dead
    std::vector<std::uint32_t> m_tree; // 1-based Fenwick tree over m_dead
    std::size_t m_deadCount = 0;
    mutable std::vector<std::uint32_t> m_indexBySlot; // 0 = absent, else index + 1
    mutable bool m_indexValid = false;
};

} // namespace toneloft
