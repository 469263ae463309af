#include "midi/Dx7Exchange.h"

#include "common/NumberText.h"
#include "midi/Dx7Messages.h"
#include "midi/MidiDeviceLayer.h"
#include "midi/MidiFraming.h"
#include "midi/MidiVoiceListLink.h"
#include "midi/clsMidiManagerData.h"
#include "voice/VoiceFileFormat.h"

#include <algorithm>
#include <span>
#include <vector>

namespace toneloft {

namespace {
constexpr const char* kCrLf = "\r\n";
constexpr const char* kReceiveHelpTopic = "2420";
} // namespace

Dx7Exchange::Dx7Exchange(MidiDeviceLayer& midi, MidiVoiceListLink* lists)
    : m_midi(midi), m_lists(lists)
{
}

int Dx7Exchange::ReceiveDump(int type, std::int64_t timeoutMs, std::string& data, bool request)
{
    UiServices& ui = m_midi.ui();
    MidiState& state = m_midi.state();
    BusyPointer busy(ui);
    state.requestedDumpType = type;

    if (request) {
        const ByteString message = DumpRequest(state.currentChannel, type);
        if (message.empty()) {
            ui.MsgBox("Unknown dump type requested", "", MsgIcon::None, MsgButtons::OK);
            state.requestedDumpType = -1;
            return -1;
        }
        if (m_midi.SendLongMessage(message, state.currentChannel + 1) != 0) {
            ui.MsgBox("MIDI Output failed", "", MsgIcon::None, MsgButtons::OK);
            state.requestedDumpType = -1;
            return -1;
        }
    }

    int result = -1;
    const std::int64_t start = ui.clock();
    for (;;) {
        const std::int64_t elapsed = ui.clock() - start;
        if (elapsed >= timeoutMs) {
            const std::string text = "Timeout - no data received";
            if (auto* manager = m_midi.manager()) {
                MidiMessageRecord r;
                r[MidiMessageRecord::Message] = text;
                manager->AddMessage(r, false);
            }
            ShowStatus(ui, text, 1000, 1);
            data = "Timeout";
            state.requestedDumpType = -1;
            break;
        }
        if (state.receivedData != MidiState::kIdleData) {
            ShowStatus(ui, "Sysex received on Channel " + Str(state.currentChannel + 1), 1000, 1);
            data = state.receivedData;
            state.receivedData = MidiState::kIdleData;
            state.requestedDumpType = -1;
            result = 0;
            break;
        }
        const std::int64_t remaining = timeoutMs - elapsed;
        if (remaining % 100 == 0) {
            const double seconds = static_cast<double>(remaining) / 1000.0;
            std::string text;
            if (state.detectionMode == 1)
                text = "Detecting on Channel " + Str(state.currentChannel + 1) + " - " +
                       Format(seconds, "  0.000") + " secs. left to timeout";
            else
                text = std::string(request ? "" : "PLEASE SEND DATA NOW - ") +
                       Format(seconds, "  0.0") + " secs. left to timeout";
            ShowStatus(ui, text, 0, 1);
            ui.processEvents();
        }
        // Blocks until input arrives or a millisecond passes, so that the
        // countdown still meets every tenth of a second.
        ui.waitForEvents(1);
        ui.processEvents();
    }
    m_midi.host().setManagerCaption("MIDI Manager");
    ShowStatus(ui, "", 0, 0);
    return result;
}

void Dx7Exchange::ReceiveCommand(int index)
{
    UiServices& ui = m_midi.ui();
    MidiState& state = m_midi.state();
    for (;;) {
        std::int64_t limit = 2000;
        // A synthesiser that answers requests (TX7 mode) is asked, as detection
        // does; any other is sent from its front panel.
        const bool request = state.detectionMode == 1;
        if (!request) {
            limit = 15000;
            const auto answer = ui.msgBoxWithHelp(
                std::string("Please setup your DX7 to send now. ") + kCrLf + kCrLf +
                    "Click OK when you are ready, or Help for assistance.",
                "Ready to receive", MsgIcon::Exclamation, MsgButtons::OKCancel, kReceiveHelpTopic);
            if (answer == MsgResult::Cancel)
                return;
        }
        state.receiveTimeLimitMs = limit;
        std::string data;
        if (ReceiveDump(index == 0 ? kDumpVoice : kDumpBank, limit, data, request) != 0) {
            if (ui.MsgBox("Would you like to try again ?", "No data received", MsgIcon::Question,
                          MsgButtons::YesNoCancel) == MsgResult::Yes)
                continue;
            return;
        }
        ++state.receiveCounter;
        state.lastReceiveFileType = index == 1 ? 3 : 1;
        if (m_lists) {
            const std::string path =
                m_lists->dataDirectory() + " DX Bank " + Str(state.receiveCounter) + ".dat";
            m_lists->saveAndOpenVoiceFile(path, toByteArray(data), state.lastReceiveFileType);
        }
        return;
    }
}

void Dx7Exchange::SendCommand(int index)
{
    if (!m_lists || !m_midi.state().outputOpen)
        return;
    if (index == 2) {
        const auto file = m_lists->chooseFile("Choose a file to send to MIDI");
        if (file && !file->path.empty())
            SendFile(file->path, file->title);
        return;
    }
    if (!m_lists->activeIsVoiceList())
        return;
    if (index == 0)
        sendSelectedVoice();
    else if (index == 1)
        sendCurrentBank();
}

void Dx7Exchange::sendSelectedVoice()
{
    UiServices& ui = m_midi.ui();
    const long n = m_lists->selectedVoice();
    if (n < 1) {
        ui.MsgBox("Please select a voice to send to MIDI", "No Voice To Send", MsgIcon::Exclamation,
                  MsgButtons::OK);
        return;
    }
    const int channel = m_midi.state().currentChannel;
    const ByteString message = OnChannel(AddWrapper(m_lists->voiceData(n, 1), 1), channel);
    m_midi.SendLongMessage(message, channel + 1);
    if (message.size() >= 12)
        ShowStatus(ui, message.substr(message.size() - 12, 10) + "sent to MIDI", 1000, 0);
}

void Dx7Exchange::sendCurrentBank()
{
    UiServices& ui = m_midi.ui();
    const long bank = std::max(1L, m_lists->currentBank());
    const long first = 32 * bank - 31;
    const long last = std::min(first + 31, m_lists->voiceCount());
    BusyPointer busy(ui);
    ByteString data;
    for (long v = first; v <= last; ++v) {
        data += m_lists->voiceData(v, 2);
        ShowStatus(ui, "Adding Voice " + Str(v) + " now string length is " +
                           Str(static_cast<long long>(data.size())),
                   0, 1);
    }
    const int channel = m_midi.state().currentChannel;
    const ByteString message = OnChannel(AddWrapper(data, 3), channel);
    ShowStatus(ui, "Please wait - sending Bank " + StrTrim(bank) + " to MIDI", 0, 1);
    m_midi.SendLongMessage(message, channel + 1);
    ShowStatus(ui, "Bank " + StrTrim(bank) + " sent to MIDI", 1000, 0);
}

void Dx7Exchange::SendFile(const std::string& path, const std::string& title)
{
    UiServices& ui = m_midi.ui();
    ByteArray bytes;
    if (!ReadWholeFile(path, bytes)) {
        ui.MsgBox("Couldn't open " + path, "File Access Error", MsgIcon::Exclamation,
                  MsgButtons::OK);
        return;
    }
    // Whole messages only: a receiver takes one system-exclusive message per
    // event, so a block cut across two messages would be refused.
    MidiInputQueue found;
    MidiFramer framer;
    framer.feed(bytes, 0, found);
    std::vector<ByteString> messages;
    while (auto e = found.pop())
        if (e->kind == MidiEventKind::LongData)
            messages.push_back(std::move(e->bytes));
    if (messages.empty()) {
        ui.MsgBox("There is no MIDI system-exclusive message in " + title + " to send.",
                  "Nothing to send", MsgIcon::Exclamation, MsgButtons::OK);
        return;
    }

    BusyPointer busy(ui);
    CancellableWork work(ui);
    ShowStatus(ui, "Please wait - sending " + title + " to Midi ", 0, 1);
    const double kb = static_cast<double>(bytes.size()) / 1000.0;
    std::size_t sent = 0;
    bool stopped = false;
    for (const ByteString& message : messages) {
        // Paced at 4,096 bytes a second: wait for the one before to have left,
        // watching for Cancel meanwhile.
        for (;;) {
            stopped = work.cancelled() || !m_midi.state().outputOpen;
            const std::int64_t wait = m_midi.largeSendDue() - ui.clock();
            if (stopped || wait <= 0)
                break;
            ui.waitForEvents(std::min<std::int64_t>(wait, 50));
        }
        if (stopped)
            break;
        const auto* data = reinterpret_cast<const std::uint8_t*>(message.data());
        m_midi.SendLongBlock(std::span<const std::uint8_t>(data, message.size()), 0, message.size());
        sent += message.size();
        ShowStatus(ui, "Please wait - sending " + title + " to Midi " +
                           Format(static_cast<double>(sent) / 1000.0, "######") +
                           " kb sent out of " + Format(kb, "######") + " kb",
                   0, 1);
        ui.processEvents();
    }
    if (stopped) {
        ShowStatus(ui, "Sending " + title + " stopped after " + StrTrim(static_cast<long long>(sent)) +
                           " of " + StrTrim(static_cast<long long>(bytes.size())) + " bytes",
                   1000, 0);
        return;
    }
    ShowStatus(ui, title + " sent to Midi (" + Str(static_cast<long long>(bytes.size())) + ") bytes",
               1000, 0);
}

} // namespace toneloft
