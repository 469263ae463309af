// Writes the template bank DXInit.dat (32 init voices, one bank message) to
// the path given on the command line. Run at build time.

#include "voice/InitVoice.h"
#include "voice/VoiceFileFormat.h"

#include <cstdio>
#include <span>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_dxinit <output file>\n");
        return 2;
    }
    const toneloft::ByteArray bytes = toneloft::toByteArray(toneloft::MakeInitBankFile());
    if (!toneloft::WriteFileReplacing(argv[1], std::span<const std::uint8_t>(bytes))) {
        std::fprintf(stderr, "make_dxinit: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
