// MIDI input as a device delivers it: short messages (any status, running or
// not), system-exclusive of any length with or without its F0 and F7, all
// through the input queue into the device layer, its monitor and the MIDI
// manager's store; and the virtual DX7's own reading of what it is sent.
#include "midi/MidiTestRig.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

using namespace toneloft;

namespace {

// Reads the next length from the data: one byte, or two when the first is 255,
// so long messages (past the 8,192-byte limit) are reachable.
std::size_t takeLength(std::span<const std::uint8_t>& in)
{
    if (in.empty())
        return 0;
    std::size_t n = in[0];
    in = in.subspan(1);
    if (n == 255 && in.size() >= 2) {
        n = static_cast<std::size_t>(in[0]) << 8 | in[1];
        in = in.subspan(2);
    }
    return n;
}

ByteString take(std::span<const std::uint8_t>& in, std::size_t n)
{
    n = std::min(n, in.size());
    ByteString out(reinterpret_cast<const char*>(in.data()), n);
    in = in.subspan(n);
    return out;
}

} // namespace

// The devices stay open across inputs, as in a session that receives for
// hours: opening them and filling the monitor's grid costs more than most
// inputs. A new rig every few hundred inputs keeps what is stored bounded.
struct OpenRig {
    test::MidiTestRig rig;
    OpenRig()
    {
        rig.ui.tickMs = 1000; // the monitor's pauses end at once
        rig.fake.inputs = {"Fuzz In"};
        rig.fake.outputs = {"Fuzz Out"};
        if (rig.midi.OpenMidiDevices(0, 0) != 0 || !rig.fake.queue)
            std::abort();
    }
    ~OpenRig() { rig.midi.CloseMidiDevices(); }
};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static std::unique_ptr<OpenRig> open;
    static int uses = 0;
    if (!open || ++uses % 256 == 0) {
        open.reset();
        open = std::make_unique<OpenRig>();
    }
    test::MidiTestRig& rig = open->rig;
    MidiInputQueue& queue = *rig.fake.queue;
    VirtualDx7 dx7;

    std::span<const std::uint8_t> in(data, size);
    std::int64_t time = 0;
    while (!in.empty()) {
        const std::uint8_t op = in[0];
        in = in.subspan(1);
        time += op >> 4;
        switch (op & 3) {
        case 0: { // a short message of one to three bytes, as they came
            const ByteString bytes = take(in, 1 + (op >> 2 & 3) % 3);
            queue.pushShort(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), time);
            break;
        }
        case 1: // system-exclusive exactly as it came, framed or not
            queue.pushSysex(take(in, takeLength(in)), time);
            break;
        case 2: { // framed by us: F0, the bytes, F7
            ByteString bytes = "\xF0" + take(in, takeLength(in)) + "\xF7";
            queue.pushSysex(std::move(bytes), time);
            break;
        }
        default: // what the virtual DX7 is sent
            if (op & 4)
                dx7.receiveShort(static_cast<std::uint32_t>(takeLength(in)) * 0x010101u);
            else
                (void)dx7.receive(take(in, takeLength(in)));
            break;
        }
        if (op & 8)
            rig.midi.dispatchInput();
    }
    rig.midi.dispatchInput();
    rig.ui.boxes.clear();
    rig.ui.statuses.clear();
    rig.ui.logLines.clear();
    return 0;
}
