#include "midi/Dx7Messages.h"

namespace toneloft {

ByteString DumpRequest(int channel, int format)
{
    if (format != 0 && format != 1 && format != 2 && format != 9 && format != 0x7D)
        return {};
    ByteString m;
    m += toChar(0xF0);
    m += toChar(0x43);
    m += toChar(0x20 | (channel & 0x0F)); // sub-status 2: dump request
    m += toChar(format);
    m += toChar(0xF7);
    return m;
}

ByteString ParameterChange(int parameter, int value)
{
    if (parameter < 0 || parameter > 155)
        return {};
    ByteString m;
    m += toChar(0xF0);
    m += toChar(0x43);
    m += toChar(0x10); // sub-status 1: parameter change, channel 1
    m += toChar(parameter >> 7);   // group 0 (voice) and the parameter's top bits
    m += toChar(parameter & 0x7F);
    m += toChar(value & 0x7F);
    m += toChar(0xF7);
    return m;
}

ByteString OnChannel(ByteString message, int channel)
{
    if (message.size() >= 4 && byteAt(message, 0) == 0xF0 && byteAt(message, 1) == 0x43 &&
        (byteAt(message, 2) >> 4) <= 2)
        message[2] = toChar((byteAt(message, 2) & 0xF0) | (channel & 0x0F));
    return message;
}

} // namespace toneloft
