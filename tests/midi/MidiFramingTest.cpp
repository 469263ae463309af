#include "midi/MidiFraming.h"
#include "midi/MidiInputQueue.h"
#include "voice/InitVoice.h"

#include <gtest/gtest.h>

#include <vector>

namespace toneloft {
namespace {

std::vector<std::uint8_t> bytesOf(const ByteString& s)
{
    return {s.begin(), s.end()};
}

std::vector<MidiInputEvent> drain(MidiInputQueue& q)
{
    std::vector<MidiInputEvent> out;
    while (auto e = q.pop())
        out.push_back(*e);
    return out;
}

// A bank with Timing Clock bytes and a Start (FA) among its data: the bank
// comes out whole and byte for byte, the Start on its own, the clocks dropped.
TEST(MidiFraming, RealtimeBytesInsideABankAreTakenOut)
{
    const ByteString bank = MakeInitBankFile();
    std::vector<std::uint8_t> wire = bytesOf(bank);
    wire.insert(wire.begin() + 1000, 0xF8);
    wire.insert(wire.begin() + 6, 0xFA);
    wire.insert(wire.begin() + 3000, 0xF8);
    MidiInputQueue q;
    MidiFramer f;
    f.feed(wire, 7, q);
    const auto events = drain(q);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, MidiEventKind::ShortData);
    EXPECT_EQ(events[0].word, 0xFAu);
    EXPECT_EQ(events[1].kind, MidiEventKind::LongData);
    EXPECT_EQ(events[1].bytes, bank);
    EXPECT_EQ(events[1].timestampMs, 7);
}

// A message cut short, then a dump request: the request is not swallowed.
TEST(MidiFraming, ANewStartEndsABrokenMessage)
{
    const std::vector<std::uint8_t> wire = {0xF0, 0x43, 0x00, 0x09, 0x20, 0x00, 0x11, 0x22,
                                            0xF0, 0x43, 0x20, 0x09, 0xF7};
    MidiInputQueue q;
    MidiFramer f;
    f.feed(wire, 0, q);
    const auto events = drain(q);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, MidiEventKind::LongError);
    EXPECT_EQ(events[0].bytes.size(), 8u);
    EXPECT_EQ(events[1].kind, MidiEventKind::LongData);
    EXPECT_EQ(events[1].bytes, ByteString("\xF0\x43\x20\x09\xF7"));
}

TEST(MidiFraming, ShortMessagesStatusInterruptionAndSplitDeliveries)
{
    MidiInputQueue q;
    MidiFramer f;
    // A note-on, then a sysex that a control change interrupts.
    f.feed(std::vector<std::uint8_t>{0x90, 60, 100}, 0, q);
    f.feed(std::vector<std::uint8_t>{0xF0, 0x43, 0x10, 0xB0, 7, 99}, 0, q);
    auto events = drain(q);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].word, 0x643C90u);
    EXPECT_EQ(events[1].kind, MidiEventKind::LongError);
    EXPECT_EQ(events[1].bytes.size(), 3u);
    EXPECT_EQ(events[2].kind, MidiEventKind::ShortData);
    EXPECT_EQ(events[2].word, 0x6307B0u);

    // A message delivered in two pieces is joined; a stray F7 is ignored.
    f.feed(std::vector<std::uint8_t>{0xF7, 0xF0, 0x43, 0x10}, 0, q);
    EXPECT_TRUE(f.inSysex());
    f.feed(std::vector<std::uint8_t>{0x01, 0x1B, 0x05, 0xF7}, 0, q);
    events = drain(q);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].bytes, ByteString("\xF0\x43\x10\x01\x1B\x05\xF7"));

    // Longer than the queue takes: refused with its full count, memory bounded.
    std::vector<std::uint8_t> huge(MidiInputQueue::kMaxSysexBytes + 100, 0x01);
    huge.front() = 0xF0;
    huge.back() = 0xF7;
    f.feed(huge, 0, q);
    events = drain(q);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, MidiEventKind::LongError);
    EXPECT_EQ(events[0].bytes.size(), huge.size());
}

} // namespace
} // namespace toneloft
