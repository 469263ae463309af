#include "midi/clsMidiManagerData.h"

#include "common/NumberText.h"
#include "midi/Dx7Exchange.h"
#include "midi/Dx7Messages.h"
#include "midi/MidiBackend.h"
#include "midi/MidiDeviceLayer.h"
#include "midi/MidiVoiceListLink.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoicePacking.h"

#include <algorithm>
#include <array>
#include <cctype>
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

constexpr const char* kCrLf = "\r\n";
constexpr long kBankBytes = 4104;   // a framed 32-voice bank
constexpr long kVoiceBytes = 163;   // a framed single voice
constexpr long kPackedBank = 4096;  // 32 packed voices, unframed
constexpr long kUnpackedBank = 4960; // 32 unpacked voices, unframed
constexpr long kUnpackedVoice = 155;
constexpr long kPackedVoice = 128;

std::string trimmed(std::string s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    s.erase(0, first);
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

// A file type as stored: " 0".." 3", or "NA" for data of no known layout.
std::string typeText(int fileType)
{
    return fileType >= 0 ? Str(fileType) : std::string("NA");
}

int typeOf(const std::string& text)
{
    const std::string t = trimmed(text);
    if (t.empty() || !std::isdigit(static_cast<unsigned char>(t[0])))
        return -1;
    return std::atoi(t.c_str());
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// A short monitor row's bytes. The fields hold one byte each, blank-padded, and
// a data byte may itself be a blank: the status byte says how many there are.
ByteString shortBytes(const Recordset& row)
{
    const std::string status = row.text("Status");
    if (status.empty() || status[0] == ' ')
        return {};
    const int count = shortMessageLength(byteAt(status, 0));
    ByteString bytes = status.substr(0, 1);
    if (count > 1)
        bytes += row.text("ShortData1").substr(0, 1);
    if (count > 2)
        bytes += row.text("ShortData2").substr(0, 1);
    return bytes;
}

} // namespace

clsMidiManagerData::clsMidiManagerData(MidiDeviceLayer& midi) : m_midi(midi)
{
    for (const auto& f : kMessageFields)
        m_messages.appendField(f.name, Recordset::FieldType::Text, f.size, f.fixed);
    m_messages.open();

    using FT = Recordset::FieldType;
    m_sysex.appendField("No", FT::Text, 4, true);
    m_sysex.appendField("Name", FT::Text, 80, true);
    m_sysex.appendField("Length", FT::Text, 10, true);
    m_sysex.appendField("Data", FT::Text, 0, false); // any length: appended banks included
    m_sysex.appendField("Used", FT::Text, 3, true);
    m_sysex.appendField("FileType", FT::Text, 3, true);
    m_sysex.open();
}

Recordset* clsMidiManagerData::table(const std::string& member)
{
    if (member == "MidiSysex")
        return &m_sysex;
    if (member == "MidiMessage")
        return &m_messages;
    return nullptr;
}

void clsMidiManagerData::emptyCurrentSlot()
{
    m_sysex.setValue("Name", std::string(kEmptyName));
    m_sysex.setValue("Length", std::string("0"));
    m_sysex.setValue("Data", std::string());
    m_sysex.setValue("Used", std::string("No"));
    m_sysex.setValue("FileType", std::string("NA"));
    m_sysex.update();
}

void clsMidiManagerData::InitMidiGrid()
{
    m_sysex.close();
    m_sysex.open();
    m_sysex.reserve(kSlotCount);
    for (long slot = 1; slot <= kSlotCount; ++slot) {
        m_sysex.addNew();
        m_sysex.setValue("No", Str(slot));
        emptyCurrentSlot();
    }
    m_usedCounter = 0;
    updateToolbar();
    m_sysex.moveFirst();
    storeChanged();
}

long clsMidiManagerData::selectedSlot() const
{
    const long p = m_sysex.absolutePosition();
    return p < 1 ? 1 : p;
}

void clsMidiManagerData::selectSlot(long slot)
{
    m_sysex.setAbsolutePosition(std::clamp(slot, 1L, kSlotCount));
}

ByteString clsMidiManagerData::slotData() const
{
    if (m_sysex.eof() || m_sysex.bof())
        return {};
    return m_sysex.text("Data");
}

void clsMidiManagerData::updateToolbar()
{
    bool anyUsed = false;
    auto rows = m_sysex.clone();
    for (rows->moveFirst(); !rows->eof() && !anyUsed; rows->moveNext())
        anyUsed = trimmed(rows->text("Used")) == "Yes";
    auto set = [this](ManagerButton b, bool on) { m_buttons[static_cast<std::size_t>(b)] = on; };
    set(ManagerButton::Send, anyUsed);
    set(ManagerButton::Save, anyUsed);
    set(ManagerButton::Delete, anyUsed);
    set(ManagerButton::SaveAndLoad, anyUsed);
    set(ManagerButton::Receive, true);
    set(ManagerButton::Load, true);
    set(ManagerButton::Edit, true);
}

bool clsMidiManagerData::buttonEnabled(ManagerButton b) const
{
    const MidiState& state = m_midi.state();
    switch (b) {
    case ManagerButton::Receive: return state.inputOpen;
    case ManagerButton::Send: return state.outputOpen && m_buttons[static_cast<std::size_t>(b)];
    default: return m_buttons[static_cast<std::size_t>(b)];
    }
}

void clsMidiManagerData::storeChanged()
{
    if (m_storeChanged)
        m_storeChanged();
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

int clsMidiManagerData::AddSysex(const ByteString& bytes, long length, int fileType,
                                 const std::string& name)
{
    UiServices& ui = m_midi.ui();
    if (m_sysex.eof() || m_sysex.bof())
        m_sysex.moveFirst();
    length = std::clamp<long>(length, 0, static_cast<long>(bytes.size()));
    ByteString incoming = bytes.substr(0, static_cast<std::size_t>(length));
    // The framing is gone already: a framed type holds the unframed layout now.
    if (fileType == 3)
        fileType = 2;
    else if (fileType == 1)
        fileType = 0;

    const std::string position = Str(selectedSlot());
    bool append = false;
    if (trimmed(m_sysex.text("Used")) == "Yes") {
        const MsgResult answer =
            ui.MsgBox("Do you want to append the new data to Bank " + position,
                      "Incoming Sysex Received", MsgIcon::Question, MsgButtons::YesNoCancel);
        if (answer == MsgResult::Cancel)
            return -1;
        if (answer == MsgResult::Yes) {
            const int slotType = typeOf(m_sysex.text("FileType"));
            if (slotType != fileType) {
                if (ui.MsgBox("The new data does not have the same format as that in Bank " +
                                  position + "." + kCrLf + kCrLf +
                                  "Would you like to change the format of the new data to match Bank " +
                                  position + "?",
                              "Incompatible Data Format", MsgIcon::Exclamation,
                              MsgButtons::YesNoCancel) != MsgResult::Yes)
                    return -1;
                ByteArray image = toByteArray(incoming);
                if (!RestructureFileBufferByt(ui, image, fileType, slotType)) {
                    ui.MsgBox("The new data cannot be converted to the format of Bank " + position,
                              "Incompatible Data Format", MsgIcon::Exclamation, MsgButtons::OK);
                    return -1;
                }
                incoming = toByteString(image);
            }
            const ByteString joined = slotData() + incoming;
            m_sysex.setValue("Data", joined);
            m_sysex.setValue("Length", StrTrim(static_cast<long long>(joined.size())));
            m_sysex.update();
            append = true;
        } else if (ui.MsgBox("Do you want to overwrite data in Bank " + position,
                             "Incoming Sysex Received", MsgIcon::Question,
                             MsgButtons::YesNoCancel) != MsgResult::Yes) {
            return -1;
        }
    }
    if (!append) {
        m_sysex.setValue("Name", name.empty() ? std::string("New Data") : name);
        m_sysex.setValue("Length", StrTrim(static_cast<long long>(incoming.size())));
        m_sysex.setValue("Data", incoming);
        m_sysex.setValue("FileType", typeText(fileType));
        m_sysex.setValue("Used", std::string("Yes"));
        m_sysex.update();
        ++m_usedCounter;
    }

    updateToolbar();
    const long next = selectedSlot() + 1;
    if (next <= kSlotCount)
        selectSlot(next);
    storeChanged();
    return 0;
}

int clsMidiManagerData::sendPackedVoices(const ByteString& unpacked)
{
    UiServices& ui = m_midi.ui();
    ByteString packed;
    const std::size_t voices = unpacked.size() / kUnpackedVoice;
    packed.reserve(voices * kPackedVoice);
    for (std::size_t n = 0; n < voices; ++n) {
        packed += Pack(std::string_view(unpacked).substr(n * kUnpackedVoice, kUnpackedVoice));
        ShowStatus(ui, "Adding voice " + Str(static_cast<long long>(n + 1)) +
                           " to sysex - length is now " + Str(static_cast<long long>(packed.size())) +
                           " bytes", 0, 1);
    }
    const int channel = m_midi.state().currentChannel;
    const ByteString message = OnChannel(AddWrapper(packed, 3), channel);
    ShowStatus(ui, "Added wrapper - final sysex length is  " +
                       Str(static_cast<long long>(message.size())) + " bytes", 0, 1);
    const int rc = m_midi.SendLongMessage(message, channel + 1);
    ShowStatus(ui, "", 0, 0);
    return rc;
}

int clsMidiManagerData::SendSysex()
{
    UiServices& ui = m_midi.ui();
    const ByteString data = slotData();
    const long length = static_cast<long>(data.size());
    if (length == 0) {
        ui.MsgBox("No data to send - select or load a bank with data", "No Data in Bank",
                  MsgIcon::Exclamation, MsgButtons::OK);
        return -1;
    }
    if (length % kBankBytes == 0 || length % kVoiceBytes == 0)
        return m_midi.SendLongMessage(data, 1);
    const int channel = m_midi.state().currentChannel;
    if (length == kPackedBank)
        return m_midi.SendLongMessage(OnChannel(AddWrapper(data, 3), channel), channel + 1);
    if (length == kUnpackedBank)
        return sendPackedVoices(data);
    if (length > kBankBytes) {
        if (ui.MsgBox(std::string("The bank is too large to send - it contains more than 32 voices.") +
                          kCrLf +
                          "Do you want to save it to a file and load it so that you can select a "
                          "voice or bank to send ?",
                      "Buffer too Large", MsgIcon::Exclamation, MsgButtons::YesNoCancel) ==
            MsgResult::Yes)
            SaveAndLoadSysex();
        return -1;
    }
    if (length % kPackedVoice == 0)
        return m_midi.SendLongMessage(OnChannel(AddWrapper(data, 3), channel), channel + 1);
    if (length % kUnpackedVoice != 0) {
        if (ui.MsgBox("Your sysex may not be recognised by your synth. Proceed anyway ?",
                      "Unknown Dump Size", MsgIcon::Exclamation, MsgButtons::OKCancel) != MsgResult::OK)
            return -1;
        return m_midi.SendLongMessage(data, 1);
    }
    if (length == kUnpackedVoice)
        return m_midi.SendLongMessage(OnChannel(AddWrapper(data, 1), channel), channel + 1);
    return sendPackedVoices(data);
}

int clsMidiManagerData::ReceiveSysex()
{
    UiServices& ui = m_midi.ui();
    Dx7Exchange exchange(m_midi);
    std::string data;
    while (exchange.ReceiveDump(kDumpAnyMessage, 15000, data, false) != 0 || data == "Timeout") {
        if (ui.MsgBox("Would you like to try again ?", "No data received", MsgIcon::Question,
                      MsgButtons::YesNoCancel) != MsgResult::Yes)
            return -1;
    }
    std::string noFile;
    int type = -1;
    CheckFileIntegrity(ui, noFile, type, false, data);
    if (type < 0) // not voice data: kept as it came
        return AddSysex(data, static_cast<long>(data.size()), -1, "");
    const ByteString stripped = stripheaders(data, type, false);
    return AddSysex(stripped, static_cast<long>(stripped.size()), type, "");
}

int clsMidiManagerData::SaveSysex(std::string& path)
{
    UiServices& ui = m_midi.ui();
    path.clear();
    const ByteString data = slotData();
    if (data.empty()) {
        ui.MsgBox("No data to save - please choose another bank or load some data", "No data",
                  MsgIcon::Exclamation, MsgButtons::OK);
        return -1;
    }
    if (!m_lists)
        return -1;
    const std::string name = trimmed(m_sysex.text("Name"));
    const std::string suggestion = name == "New Data" ? std::string() : m_lists->dataDirectory() + name + ".dat";
    std::optional<MidiVoiceListLink::ChosenFile> file;
    for (;;) {
        file = m_lists->chooseSaveFile("Save Sysex Bank", suggestion);
        if (!file || file->path.empty())
            return -1;
        if (!equalsNoCase(file->title, "New Data.dat"))
            break;
        ui.MsgBox("Please choose a different name - New Data cannot be used", "Invalid File Name",
                  MsgIcon::Exclamation, MsgButtons::OK);
    }
    const int type = typeOf(m_sysex.text("FileType"));
    // A known layout is saved framed (0 -> 1, 2 -> 3); other data as it is.
    const bool known = type == 0 || type == 2;
    if (!m_lists->saveVoiceFile(file->path, toByteArray(data), known ? type + 1 : -1, known))
        return -1;
    path = file->path;
    return 0;
}

int clsMidiManagerData::DeleteSysex()
{
    if (m_sysex.eof() || m_sysex.bof())
        return -1;
    emptyCurrentSlot();
    updateToolbar();
    storeChanged();
    return 0;
}

int clsMidiManagerData::LoadSysex()
{
    if (!m_lists)
        return -1;
    UiServices& ui = m_midi.ui();
    const auto file = m_lists->chooseFile("Open DX7 Voice Data File");
    if (!file || file->path.empty())
        return -1;
    std::string path = file->path;
    int type = -1;
    if (CheckFileIntegrity(ui, path, type, false, {}) != 0 || type < 0)
        return -1;
    ByteArray image;
    std::int32_t crc = 0;
    if (!GetFileByt(ui, path, file->title, type, image, crc, true))
        return -1;
    std::string name = file->title;
    if (const auto dot = name.rfind('.'); dot != std::string::npos)
        name.erase(dot);
    return AddSysex(toByteString(image), static_cast<long>(image.size()), type, name);
}

int clsMidiManagerData::SaveAndLoadSysex()
{
    std::string path;
    if (SaveSysex(path) != 0 || path.empty())
        return -1;
    return m_lists && m_lists->openVoiceFile(path) ? 0 : -1;
}

int clsMidiManagerData::EditSysex(int which)
{
    if (!m_editor)
        return -1;
    if (which == 1) {
        const ByteString before = slotData();
        if (before.empty())
            return -1;
        const ByteString after = m_editor(before);
        if (after == before)
            return 0;
        m_sysex.setValue("Data", after);
        m_sysex.setValue("Length", StrTrim(static_cast<long long>(after.size())));
        m_sysex.update();
        storeChanged();
        return 0;
    }
    if (which != 2 || m_messages.eof() || m_messages.bof())
        return -1;
    ByteString before;
    if (m_messages.text("Type") == "Long ")
        before = m_messages.text("RawMessage");
    else
        before = shortBytes(m_messages);
    if (before.empty())
        return -1;
    const Recordset::Bookmark row = m_messages.bookmark();
    const ByteString after = m_editor(before);
    if (after == before)
        return 0;
    m_messages.setBookmark(row);
    m_midi.ClassifyIncomingMessage(after, 0, true);
    m_messages.setBookmark(row);
    m_midi.monitorChanged();
    return 0;
}

int clsMidiManagerData::SendMIDIMessage(int which, int& result)
{
    if (which == 1) {
        result = SendSysex();
        return result;
    }
    if (which != 2 || m_messages.eof() || m_messages.bof()) {
        result = -1;
        return result;
    }
    const Recordset::Bookmark row = m_messages.bookmark();
    if (trimmed(m_messages.text("Type")) == "Short") {
        const ByteString bytes = shortBytes(m_messages);
        if (bytes.size() == 1)
            result = m_midi.SendShortMessage(std::to_string(byteAt(bytes, 0)), "", "", "");
        else
            result = m_midi.SendShortMessage(bytes.substr(0, 1), bytes.substr(1, 1),
                                             bytes.size() > 2 ? bytes.substr(2, 1) : "", "");
    } else {
        result = m_midi.SendLongMessage(m_messages.text("RawMessage"), 1);
    }
    m_messages.setBookmark(row);
    m_midi.monitorChanged();
    return result;
}

int clsMidiManagerData::SendParametertoMIDI(int p, int value, bool playNote, bool playScale)
{
    const int channel = m_midi.state().currentChannel;
    const ByteString message = OnChannel(ParameterChange(p - 1, value), channel);
    if (message.empty())
        return -1;
    const int rc = m_midi.SendLongMessage(message, channel + 1);
    if (playNote)
        m_midi.PlayTestNote(60);
    if (playScale)
        SendAScale();
    return rc;
}

int clsMidiManagerData::SendVoiceToMidi(const ByteString& voice, bool playScale)
{
    const int channel = m_midi.state().currentChannel;
    const int rc = m_midi.SendLongMessage(OnChannel(AddWrapper(voice, 1), channel), channel + 1);
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
