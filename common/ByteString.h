#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace toneloft {

// A text whose chars each hold one byte, 0 to 255. Voices, messages and file
// images travel as byte strings or byte arrays; read a char through byteAt().
using ByteString = std::string;
using ByteArray = std::vector<std::uint8_t>;

inline std::uint8_t byteAt(std::string_view s, std::size_t i)
{
    return static_cast<std::uint8_t>(s[i]);
}

inline char toChar(int byte)
{
    return static_cast<char>(static_cast<unsigned char>(byte));
}

inline ByteArray toByteArray(std::string_view s)
{
    return ByteArray(s.begin(), s.end());
}

inline ByteString toByteString(const ByteArray& a)
{
    return ByteString(a.begin(), a.end());
}

} // namespace toneloft
