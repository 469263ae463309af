// A MIDI set-up for timing sends: one output that notes when the last long
// message reached it, and start-up dialogues nobody answers.
#pragma once

#include "midi/MidiBackend.h"
#include "midi/MidiStartupDialogs.h"

#include <chrono>

namespace toneloft::bench {

class NoDialogs : public MidiStartupDialogs {
public:
    int showMissingDevice(const MissingDeviceDialog&) override { return 0; }
    bool showMidiConfigure(MidiConfigureDialog&) override { return false; }
    int showInitialisationMessage(const std::string&) override { return 0; }
};

class TimingBackend : public MidiBackend {
public:
    std::chrono::steady_clock::time_point lastLong{};
    long longs = 0;

    int inputCount() override { return 0; }
    int outputCount() override { return 1; }
    int inputName(int, std::string&) override { return 2; }
    int outputName(int index, std::string& name) override
    {
        if (index != 0)
            return 2;
        name = "Timing";
        return 0;
    }
    int openInput(int, MidiInputQueue&) override { return 2; }
    int startInput() override { return 5; }
    void stopInput() override {}
    void closeInput() override {}
    int openOutput(int index) override { return index == 0 ? 0 : 2; }
    void closeOutput() override {}
    int sendShort(std::uint32_t) override { return 0; }
    int sendLong(std::span<const std::uint8_t>) override
    {
        lastLong = std::chrono::steady_clock::now();
        ++longs;
        return 0;
    }
};

} // namespace toneloft::bench
