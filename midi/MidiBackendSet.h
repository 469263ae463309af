#pragma once

#include "midi/MidiBackend.h"

#include <vector>

namespace toneloft {

// Several services shown as one: their devices listed one after another, in
// the order the services were added.
class MidiBackendSet : public MidiBackend {
public:
    // The set does not own the backends; they must outlive it.
    void add(MidiBackend& backend);

    int inputCount() override;
    int outputCount() override;
    int inputName(int index, std::string& name) override;
    int outputName(int index, std::string& name) override;
    int openInput(int index, MidiInputQueue& queue) override;
    int startInput() override;
    void stopInput() override;
    void closeInput() override;
    int openOutput(int index) override;
    void closeOutput() override;
    int sendShort(std::uint32_t word) override;
    int sendLong(std::span<const std::uint8_t> bytes) override;
    std::size_t maxLongMessage() const override;
    bool isStandIn(int index, bool input) override;

private:
    // Backend holding device index, and the index within it; nullptr when out of range.
    MidiBackend* locate(int index, bool input, int& local);

    std::vector<MidiBackend*> m_backends;
    MidiBackend* m_input = nullptr;
    MidiBackend* m_output = nullptr;
};

} // namespace toneloft
