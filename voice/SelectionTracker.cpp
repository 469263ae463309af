#include "voice/SelectionTracker.h"

#include <algorithm>

namespace toneloft {

bool SelectionTracker::reset(long voice, long count)
{
    if (voice < 0)
        return false;
    m_flags.assign(static_cast<std::size_t>(std::max(count, 0L)), false);
    m_total = 0;
    if (voice >= 1 && voice <= this->count()) {
        m_flags[static_cast<std::size_t>(voice - 1)] = true;
        m_total = 1;
    }
    return true;
}

bool SelectionTracker::add(long first, long last)
{
    if (first < 1 || first > count())
        return false;
    if (last == 0)
        last = first;
    last = std::min(last, count());
    for (long v = first; v <= last; ++v) {
        auto flag = m_flags[static_cast<std::size_t>(v - 1)];
        if (!flag) {
            flag = true;
            ++m_total;
        }
    }
    return true;
}

void SelectionTracker::toggle(long voice)
{
    if (voice < 1 || voice > count())
        return;
    auto flag = m_flags[static_cast<std::size_t>(voice - 1)];
    flag = !flag;
    m_total += flag ? 1 : -1;
}

bool SelectionTracker::isSelected(long voice) const
{
    return voice >= 1 && voice <= count() && m_flags[static_cast<std::size_t>(voice - 1)];
}

std::vector<long> SelectionTracker::selected() const
{
    std::vector<long> out;
    out.reserve(static_cast<std::size_t>(m_total));
    for (std::size_t i = 0; i < m_flags.size(); ++i)
        if (m_flags[i])
            out.push_back(static_cast<long>(i) + 1);
    return out;
}

std::vector<long> SelectionTracker::unselected() const
{
    std::vector<long> out;
    for (std::size_t i = 0; i < m_flags.size(); ++i)
        if (!m_flags[i])
            out.push_back(static_cast<long>(i) + 1);
    return out;
}

long SelectionTracker::selectedBefore(long target) const
{
    const long end = std::clamp(target - 1, 0L, count());
    return static_cast<long>(std::count(m_flags.begin(), m_flags.begin() + end, true));
}

SelectionTracker::ClickEffect SelectionTracker::UpDateTracker(long voice, bool shift, bool ctrl)
{
    if (voice < 1 || voice > count())
        return ClickEffect::Kept;
    if (anchor == 0)
        anchor = voice;
    ClickEffect effect = ClickEffect::Kept;
    if (ctrl) {
        toggle(voice);
        effect = ClickEffect::Toggled;
    } else if (shift) {
        const long a = std::min(anchor, count());
        reset(0, count());
        add(std::min(a, voice), std::max(a, voice));
        effect = ClickEffect::Range;
    } else if (!isSelected(voice)) {
        reset(voice, count());
        effect = ClickEffect::Single;
    }
    if (!shift)
        anchor = voice;
    return effect;
}

bool TrReset(long voice, long count, SelectionTracker& tracker)
{
    return tracker.reset(voice, count);
}

bool TrAdd(long first, long last, SelectionTracker& tracker)
{
    return tracker.add(first, last);
}

} // namespace toneloft
