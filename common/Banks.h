#pragma once

namespace toneloft {

constexpr long kVoicesPerBank = 32;

// Bank of voice n (n >= 1; 0 counts as 1): ceil(n / 32).
constexpr long BankOfVoice(long n)
{
    if (n < 1)
        n = 1;
    return (n + kVoicesPerBank - 1) / kVoicesPerBank;
}

// Position of voice n within its bank, 1..32.
constexpr long PositionInBank(long n)
{
    const long p = n % kVoicesPerBank;
    return p == 0 ? kVoicesPerBank : p;
}

// Number of banks a list of n voices fills; at least 1.
constexpr long BankCount(long n)
{
    return n < 1 ? 1 : (n + kVoicesPerBank - 1) / kVoicesPerBank;
}

// First voice (1-based) of bank b (1-based).
constexpr long FirstVoiceOfBank(long b)
{
    return (b - 1) * kVoicesPerBank + 1;
}

} // namespace toneloft
