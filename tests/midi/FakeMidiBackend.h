#pragma once

#include "common/ByteString.h"
#include "midi/MidiBackend.h"
#include "midi/MidiInputQueue.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace toneloft::test {

// A MIDI service with devices of chosen names that records what is sent and
// when (by the given clock), and fails on request.
class FakeMidiBackend : public MidiBackend {
public:
    struct Sent {
        ByteString bytes;  // long messages
        std::uint32_t word = 0; // short messages
        bool isLong = false;
        std::int64_t at = 0;
    };

    std::vector<std::string> inputs;
    std::vector<std::string> outputs;
    std::vector<int> unreadableOutputs; // indexes whose name fails with code 2
    int openInputResult = 0;
    int openOutputResult = 0;
    int sendResult = 0;
    std::function<std::int64_t()> clock = [] { return std::int64_t{0}; };

    std::vector<Sent> sent;
    MidiInputQueue* queue = nullptr;
    int countCalls = 0;
    int openInputCalls = 0;
    int closeInputCalls = 0;
    int closeOutputCalls = 0;

    int inputCount() override
    {
        ++countCalls;
        return static_cast<int>(inputs.size());
    }
    int outputCount() override
    {
        ++countCalls;
        return static_cast<int>(outputs.size());
    }
    int inputName(int index, std::string& name) override
    {
        if (index < 0 || index >= static_cast<int>(inputs.size()))
            return 2;
        name = inputs[static_cast<std::size_t>(index)];
        return 0;
    }
    int outputName(int index, std::string& name) override
    {
        if (index < 0 || index >= static_cast<int>(outputs.size()))
            return 2;
        for (int bad : unreadableOutputs)
            if (bad == index)
                return 2;
        name = outputs[static_cast<std::size_t>(index)];
        return 0;
    }
    int openedInput = -1; // the index last opened
    int openedOutput = -1;
    int openInput(int index, MidiInputQueue& q) override
    {
        ++openInputCalls;
        openedInput = index;
        if (openInputResult == 0)
            queue = &q;
        return openInputResult;
    }
    int startInput() override { return queue ? 0 : 5; }
    void stopInput() override {}
    void closeInput() override
    {
        ++closeInputCalls;
        queue = nullptr;
    }
    int openOutput(int index) override
    {
        openedOutput = index;
        return openOutputResult;
    }
    void closeOutput() override { ++closeOutputCalls; }
    int sendShort(std::uint32_t word) override
    {
        if (sendResult == 0)
            sent.push_back({{}, word, false, clock()});
        return sendResult;
    }
    std::size_t maxLong = 65536; // longest block one send takes
    std::size_t maxLongMessage() const override { return maxLong; }
    int sendLong(std::span<const std::uint8_t> bytes) override
    {
        if (bytes.size() > maxLong)
            return 1;
        if (sendResult == 0)
            sent.push_back({ByteString(bytes.begin(), bytes.end()), 0, true, clock()});
        return sendResult;
    }

    std::vector<Sent> longMessages() const
    {
        std::vector<Sent> out;
        for (const auto& s : sent)
            if (s.isLong)
                out.push_back(s);
        return out;
    }
};

} // namespace toneloft::test
