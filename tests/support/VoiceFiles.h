#pragma once

#include "common/ByteString.h"
#include "voice/InitVoice.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoicePacking.h"

#include <string>

namespace toneloft::test {

// An unpacked voice (155 bytes) named `name` (padded to 10), with a value or two
// varied by seed so that voices differ.
inline ByteString makeVoice(const std::string& name, int seed = 0)
{
    ByteString v = MakeInitVoice();
    v[137] = toChar(seed % 100);      // LFO speed
    v[16] = toChar((seed / 100) % 100); // operator 6 output level
    std::string n = name;
    n.resize(10, ' ');
    v.replace(145, 10, n);
    return v;
}

// count voices back to back in the layout of fileType, framed as the file type frames them.
inline ByteString makeVoiceFile(int fileType, int count, const std::string& prefix = "VOICE")
{
    ByteString image;
    for (int i = 1; i <= count; ++i) {
        const ByteString v = makeVoice(prefix + std::to_string(i), i);
        image += fileType >= 2 ? Pack(v) : v;
    }
    if (fileType == 1) {
        ByteString out;
        for (int i = 0; i < count; ++i)
            out += AddWrapper(std::string_view(image).substr(static_cast<std::size_t>(i) * 155, 155), 1);
        return out;
    }
    if (fileType == 3) {
        ByteString out;
        for (std::size_t at = 0; at < image.size(); at += 4096)
            out += AddWrapper(std::string_view(image).substr(at, 4096), 3);
        return out;
    }
    return image;
}

} // namespace toneloft::test
