#include "common/RecordsetView.h"

#include <bit>

namespace toneloft {

namespace {

std::size_t lowBit(std::size_t i)
{
    return i & (~i + 1);
}

} // namespace

void RecordsetView::assign(std::vector<std::uint32_t> slots)
{
    m_slots = std::move(slots);
    m_dead.clear();
    m_tree.clear();
    m_deadCount = 0;
    m_indexValid = false;
}

void RecordsetView::clear()
{
    assign({});
}

void RecordsetView::markDead(std::size_t index)
{
    if (index >= m_slots.size() || isDead(index))
        return;
    if (m_deadCount == 0) {
        m_dead.assign(m_slots.size(), 0);
        m_tree.assign(m_slots.size() + 1, 0);
    }
    m_dead[index] = 1;
    ++m_deadCount;
    for (std::size_t i = index + 1; i < m_tree.size(); i += lowBit(i))
        ++m_tree[i];
}

void RecordsetView::append(std::uint32_t slot)
{
    m_slots.push_back(slot);
    if (m_deadCount != 0) {
        // The new node covers (n - lowBit(n), n]; only its last entry is new, and live.
        const std::size_t n = m_slots.size();
        m_dead.push_back(0);
        m_tree.push_back(static_cast<std::uint32_t>(deadPrefix(n - 1) - deadPrefix(n - lowBit(n))));
    }
    if (m_indexValid) {
        if (slot >= m_indexBySlot.size())
            m_indexBySlot.resize(static_cast<std::size_t>(slot) + 1, 0);
        m_indexBySlot[slot] = static_cast<std::uint32_t>(m_slots.size());
    }
}

std::size_t RecordsetView::insert(std::size_t index, std::uint32_t slot)
{
    if (index > m_slots.size())
        index = m_slots.size();
    if (m_deadCount != 0) {
        index = liveBefore(index);
        std::vector<std::uint32_t> live;
        live.reserve(liveCount() + 1);
        for (std::size_t i = 0; i < m_slots.size(); ++i)
            if (!m_dead[i])
                live.push_back(m_slots[i]);
        assign(std::move(live));
    }
    if (index == m_slots.size()) {
        append(slot);
    } else {
        m_slots.insert(m_slots.begin() + static_cast<std::ptrdiff_t>(index), slot);
        m_indexValid = false;
    }
    return index;
}

std::size_t RecordsetView::deadPrefix(std::size_t count) const
{
    std::size_t sum = 0;
    for (std::size_t i = count; i > 0; i -= lowBit(i))
        sum += m_tree[i];
    return sum;
}

std::size_t RecordsetView::liveBefore(std::size_t index) const
{
    if (index > m_slots.size())
        index = m_slots.size();
    return m_deadCount == 0 ? index : index - deadPrefix(index);
}

std::size_t RecordsetView::indexOfLive(std::size_t position) const
{
    if (position >= liveCount())
        return m_slots.size();
    if (m_deadCount == 0)
        return position;
    // Descend the tree: the node at pos + step covers exactly `step` entries.
    const std::size_t n = m_slots.size();
    std::size_t pos = 0;
    std::size_t remaining = position + 1;
    for (std::size_t step = std::bit_floor(n); step > 0; step >>= 1) {
        const std::size_t node = pos + step;
        if (node <= n) {
            const std::size_t live = step - m_tree[node];
            if (live < remaining) {
                pos = node;
                remaining -= live;
            }
        }
    }
    return pos; // entries [0, pos) hold position live rows; entry pos is the next
}

std::size_t RecordsetView::nextLive(std::size_t index) const
{
    if (index >= m_slots.size())
        return m_slots.size();
    if (m_deadCount == 0 || !m_dead[index])
        return index;
    return indexOfLive(liveBefore(index));
}

std::size_t RecordsetView::previousLive(std::size_t index) const
{
    if (index == npos || m_slots.empty())
        return npos;
    if (index >= m_slots.size())
        index = m_slots.size() - 1;
    if (m_deadCount == 0 || !m_dead[index])
        return index;
    const std::size_t before = liveBefore(index);
    return before == 0 ? npos : indexOfLive(before - 1);
}

std::size_t RecordsetView::indexOfSlot(std::uint32_t slot) const
{
    if (!m_indexValid) {
        m_indexBySlot.assign(m_indexBySlot.size(), 0);
        for (std::size_t i = 0; i < m_slots.size(); ++i) {
            const std::uint32_t s = m_slots[i];
            if (s >= m_indexBySlot.size())
                m_indexBySlot.resize(static_cast<std::size_t>(s) + 1, 0);
            m_indexBySlot[s] = static_cast<std::uint32_t>(i + 1);
        }
        m_indexValid = true;
    }
    if (slot >= m_indexBySlot.size() || m_indexBySlot[slot] == 0)
        return npos;
    return m_indexBySlot[slot] - 1;
}

} // namespace toneloft
