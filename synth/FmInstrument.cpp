#include "synth/FmInstrument.h"

#include <algorithm>

namespace toneloft::synth {

FmInstrument::FmInstrument(double sampleRate)
    : m_engine(sampleRate), m_ring(std::make_unique<std::array<Event, kRing>>())
{
}

bool FmInstrument::post(const Event& event)
{
    const std::size_t head = m_head.load(std::memory_order_relaxed);
    const std::size_t next = (head + 1) % kRing;
    if (next == m_tail.load(std::memory_order_acquire))
        return false;
    (*m_ring)[head] = event;
    m_head.store(next, std::memory_order_release);
    return true;
}

bool FmInstrument::noteOn(int key, int velocity)
{
    return post({Event::Kind::NoteOn, key, velocity, {}});
}

bool FmInstrument::noteOff(int key)
{
    return post({Event::Kind::NoteOff, key, 0, {}});
}

bool FmInstrument::controlChange(int controller, int value)
{
    return post({Event::Kind::Control, controller, value, {}});
}

bool FmInstrument::pitchBend(int value)
{
    return post({Event::Kind::Bend, value, 0, {}});
}

bool FmInstrument::setParameter(int number, int value)
{
    return post({Event::Kind::Parameter, number, value, {}});
}

bool FmInstrument::allSoundOff()
{
    return post({Event::Kind::SoundOff, 0, 0, {}});
}

bool FmInstrument::loadVoice(std::span<const std::uint8_t> voice)
{
    Event e{Event::Kind::Voice, 0, 0, initVoiceBytes()};
    std::copy_n(voice.begin(), std::min(voice.size(), e.voice.size()), e.voice.begin());
    return post(e);
}

void FmInstrument::apply(const Event& e)
{
    switch (e.kind) {
    case Event::Kind::NoteOn: m_engine.noteOn(e.a, e.b); break;
    case Event::Kind::NoteOff: m_engine.noteOff(e.a); break;
    case Event::Kind::Control: m_engine.controlChange(e.a, e.b); break;
    case Event::Kind::Bend: m_engine.setPitchBend(e.a); break;
    case Event::Kind::Voice: m_engine.loadVoice(e.voice); break;
    case Event::Kind::Parameter: m_engine.setParameter(e.a, e.b); break;
    case Event::Kind::SoundOff: m_engine.allSoundOff(); break;
    }
}

void FmInstrument::render(float* out, std::size_t frames)
{
    std::size_t tail = m_tail.load(std::memory_order_relaxed);
    while (tail != m_head.load(std::memory_order_acquire)) {
        apply((*m_ring)[tail]);
        tail = (tail + 1) % kRing;
        m_tail.store(tail, std::memory_order_release);
    }
    m_engine.render(out, frames);
    const float volume = m_volume.load(std::memory_order_relaxed);
    if (volume != 1.0f)
        for (std::size_t i = 0; i < frames; ++i)
            out[i] *= volume;
}

} // namespace toneloft::synth
