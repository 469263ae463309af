#include "midi/clsMidiManagerData.h"

#include "common/NumberText.h"
#include "midi/Dx7Messages.h"
#include "midi/MidiDeviceLayer.h"
#include "voice/VoiceFileFormat.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <random>

namespace toneloft {

namespace {

struct MessageField {
    const char* name;
    int size;
    bool fixed;
};

// One field per record slot, in slot order.
constexpr std::array<MessageField, MidiMessageRecord::SlotCount> kMessageFields = {{
    {"Timestamp", 10, true},
    {"No", 4, true},
    {"Channel", 4, true},
    {"Message", 80, true},
    {"Data1Title", 10, true},
    {"Data1", 10, true},
    {"Data2Title", 10, true},
    {"Data2", 10, true},
    {"Type", 5, true},
    {"RawMessage", 8192, false}, // the bytes as they came, never padded
    {"Status", 10, true},
    {"ShortData1", 5, true},
    {"ShortData2", 5, true},
}};

} // namespace

clsMidiManagerData::clsMidiManagerData(MidiDeviceLayer& midi) : m_midi(midi)
{
    for (const auto& f : kMessageFields)
        m_messages.appendField(f.name, Recordset::FieldType::Text, f.size, f.fixed);
    m_messages.open();
}

std::string clsMidiManagerData::monitorTime(double ms)
{
    const double s = ms / 1000.0;
    // Whole minutes by truncation, so that 119.6 s reads 0:1:59.6 and not 0:2:-0.4.
    const long long m = static_cast<long long>(std::floor(s / 60.0));
    const double seconds = s - static_cast<double>(m) * 60.0;
    return Format(static_cast<double>(m / 60), "#0:") + Format(static_cast<double>(m % 60), "#0:") +
           Format(seconds, "#0.0");
}

void clsMidiManagerData::AddMessage(const MidiMessageRecord& record, bool replace)
{
    double t = std::atof(record[MidiMessageRecord::Timestamp].c_str());
    if (t <= 0)
        t = static_cast<double>(m_midi.ui().clock() - m_midi.state().inputStartTime);

    if (!replace || m_messages.eof() || m_messages.bof()) {
        m_messages.addNew();
        m_messages.setValue("No", StrTrim(m_messages.recordCount()));
    }
    m_messages.setValue("Timestamp", monitorTime(t));
    for (int slot = MidiMessageRecord::Channel; slot < MidiMessageRecord::SlotCount; ++slot)
        m_messages.setValue(slot, record.fields[static_cast<std::size_t>(slot)]);
    m_messages.update();
    if (!replace)
        m_messages.moveLast();
    m_midi.monitorChanged();
}

void clsMidiManagerData::AddSysex(const ByteString& bytes, long length, int fileType,
                                  const std::string& name)
{
    if (m_sysexHandler)
        m_sysexHandler(bytes, length, fileType, name);
}

int clsMidiManagerData::SendParametertoMIDI(int p, int value, bool playNote, bool playScale)
{
    const ByteString message = ParameterChange(p - 1, value);
    if (message.empty())
        return -1;
    const int rc = m_midi.SendLongMessage(message, 1);
    if (playNote)
        m_midi.PlayTestNote(60);
    if (playScale)
        SendAScale();
    return rc;
}

int clsMidiManagerData::SendVoiceToMidi(const ByteString& voice, bool playScale)
{
    const int rc = m_midi.SendLongMessage(AddWrapper(voice, 1), 1);
    if (playScale)
        SendAScale();
    return rc;
}

void clsMidiManagerData::SendAScale()
{
    if (!m_midi.state().outputOpen)
        return;
    if (!m_random) {
        auto engine = std::make_shared<std::mt19937>(std::random_device{}());
        m_random = [engine] { return std::uniform_real_distribution<double>(0.0, 1.0)(*engine); };
    }
    // nearbyint rounds halves to even under the default rounding mode.
    const int base = static_cast<int>(std::nearbyint(m_random() * 24.0 + 48.0));
    const std::array<int, 7> offsets = {0, 4, 7, 12, 7, 4, 0};
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        const int note = base + offsets[i];
        bool sent = m_midi.SendShortMessage(0x90, note, 50) == 0;
        if (sent) {
            Pause(m_midi.ui(), i + 1 == offsets.size() ? 2000 : 350);
            sent = m_midi.SendShortMessage(0x90, note, 0) == 0;
        }
        if (!sent) {
            MidiMessageRecord r;
            r[MidiMessageRecord::Message] = "Output Failed";
            AddMessage(r, false);
            return;
        }
        Pause(m_midi.ui(), 50);
    }
}

} // namespace toneloft
