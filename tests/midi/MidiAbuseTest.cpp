#include "MidiTestRig.h"
#include "midi/Dx7Messages.h"
#include "midi/MidiFraming.h"

#include <gtest/gtest.h>

#include <random>
#include <span>

namespace toneloft {
namespace {

using test::MidiTestRig;

// The program answers: a requested bank arrives whole from the virtual DX7.
void expectBankRequestAnswered(MidiTestRig& rig)
{
    std::string data;
    ASSERT_EQ(rig.exchange.ReceiveDump(kDumpBank, 2000, data, true), 0);
    EXPECT_EQ(data, rig.dx7.instrument().bankDump());
}

TEST(MidiAbuse, AFloodOfShortMessagesIsHandledAndTheProgramStillAnswers)
{
    MidiTestRig rig;
    rig.openVirtualDx7();
    const long before = rig.midi.manager()->MidiMessage().recordCount();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> data(0, 127);
    std::uniform_int_distribution<int> status(0x80, 0xEF);
    // 100,000 channel messages arrive while the interface is busy, then are handled at once.
    for (int i = 0; i < 100'000; ++i) {
        const std::uint8_t m[3] = {static_cast<std::uint8_t>(status(random)), static_cast<std::uint8_t>(data(random)),
                                   static_cast<std::uint8_t>(data(random))};
        rig.midi.inputQueue().pushShort(std::span(m, static_cast<std::size_t>(shortMessageLength(m[0]))), i);
    }
    rig.ui.processEvents();
    EXPECT_EQ(rig.midi.inputQueue().size(), 0u);
    EXPECT_EQ(rig.midi.manager()->MidiMessage().recordCount(), before + 100'000); // one row each, none lost
    expectBankRequestAnswered(rig);
}

TEST(MidiAbuse, HostileSysexIsLoggedAsTheMonitorSaysAndNothingIsStored)
{
    MidiTestRig rig;
    rig.openVirtualDx7();
    // The bytes go through the framer a real port's thread uses.
    MidiFramer port;
    std::vector<std::uint8_t> tooLong(9000, 0x01);
    tooLong.front() = 0xF0;
    tooLong.back() = 0xF7;
    port.feed(tooLong, 0, rig.midi.inputQueue());
    rig.ui.processEvents();
    EXPECT_EQ(rig.lastMonitorField("Message"),
              "Midi Long Message Error - Invalid Sysex Message ( 9000 bytes) returned.");

    // No F7 before a new F0; realtime bytes inside a message; a bank whose
    // F7 is lost to a note-on.
    const std::uint8_t unfinished[] = {0xF0, 0x43, 0x00, 0x09, 0x20, 0xF0, 0x43, 0xF8, 0xFA, 0x00, 0x7F, 0xF7};
    port.feed(unfinished, 0, rig.midi.inputQueue());
    rig.ui.processEvents();
    const auto rows = rig.monitorMessages();
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[rows.size() - 3], "Midi Long Message Error - Invalid Sysex Message ( 5 bytes) returned.");
    EXPECT_EQ(rows[rows.size() - 2], "Undefined System Common message received"); // FA on its own; F8 dropped
    EXPECT_EQ(rows[rows.size() - 1], "Unrecognised Long Sysex Received");
    EXPECT_EQ(rig.midi.manager()->usedSlotCounter(), 0); // none of it went into the store
    expectBankRequestAnswered(rig);
}

TEST(MidiAbuse, RandomByteStreamsNeverStopTheProgram)
{
    MidiTestRig rig;
    rig.openVirtualDx7();
    MidiFramer port;
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 20'000);
    std::uniform_int_distribution<int> weighting(0, 9);
    for (int round = 0; round < 40; ++round) {
        std::vector<std::uint8_t> stream(static_cast<std::size_t>(length(random)));
        // Mostly data bytes, so long messages and stray data bytes occur.
        for (auto& b : stream)
            b = static_cast<std::uint8_t>(weighting(random) < 8 ? byte(random) & 0x7F : byte(random));
        port.feed(stream, 0, rig.midi.inputQueue());
        if (round % 5 == 0) // the device goes and comes back
            rig.midi.inputQueue().push({MidiEventKind::InputClosed, 0, {}, 0});
        rig.ui.processEvents();
        ASSERT_EQ(rig.midi.inputQueue().size(), 0u);
    }
    expectBankRequestAnswered(rig);
}

} // namespace
} // namespace toneloft
