#include "library/EdgePager.h"

#include "common/Banks.h"

#include <algorithm>
#include <cmath>

namespace toneloft {

std::int64_t EdgePager::delayAfter(int steps)
{
    constexpr int kSteadySteps = 3;
    if (steps <= kSteadySteps)
        return kFirstDelayMs;
    const double wait = std::round(static_cast<double>(kFirstDelayMs) * std::pow(0.85, steps - kSteadySteps));
    return std::max(kShortestDelayMs, static_cast<std::int64_t>(wait));
}

void EdgePager::reset()
{
    m_direction = 0;
    m_steps = 0;
    m_since = 0;
}

long EdgePager::dragOver(long x, long listWidth, long bank, long voices, std::int64_t now)
{
    if (voices <= kVoicesPerBank || listWidth <= 0)
        return bank;
    // x > 0.9 width or x < 0.1 width, in whole numbers.
    int direction = 0;
    if (10 * x > 9 * listWidth)
        direction = 1;
    else if (10 * x < listWidth)
        direction = -1;
    if (direction == 0) {
        reset();
        return bank;
    }
    if (direction != m_direction || m_since == 0) {
        m_direction = direction;
        m_steps = 0;
        m_since = now;
        return bank;
    }
    if (now - m_since < delayAfter(m_steps))
        return bank;
    const long last = BankCount(voices);
    if ((direction > 0 && bank >= last) || (direction < 0 && bank <= 1))
        return bank;
    ++m_steps;
    m_since = now;
    return bank + direction;
}

bool dropAllowed(bool isText, long voiceUnderPointer, long voices)
{
    return isText && (voiceUnderPointer > 0 || voices < 1);
}

} // namespace toneloft
