#include "voice/VoiceFileFormat.h"

#include "common/Banks.h"
#include "common/Crc32.h"
#include "common/NumberText.h"
#include "voice/VoiceFileContent.h"
#include "voice/VoicePacking.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>
#include <filesystem>
#include <fstream>

namespace toneloft {

namespace {

namespace fs = std::filesystem;

constexpr std::uint8_t kSysexEnd = 0xF7;
constexpr std::uint8_t kYamahaId = 0x43;
constexpr std::uint8_t kSingleVoiceFormat = 0x00;
constexpr std::uint8_t kBankFormat = 0x09;

constexpr std::array<std::uint8_t, kSysexHeaderSize> kSingleHeader{0xF0, 0x43, 0x00, 0x00, 0x01, 0x1B};
constexpr std::array<std::uint8_t, kSysexHeaderSize> kBankHeader{0xF0, 0x43, 0x00, 0x09, 0x20, 0x00};

// An SY voice file opens with F0 43 .. and this model tag at bytes 6..15; the
// first 43 bytes are enough to hold it.
constexpr std::string_view kSyVoiceTag = "LM  8101VC";
constexpr std::size_t kSyTagOffset = 6;
constexpr std::size_t kSyProbeSize = 43;

constexpr std::size_t kMinimumFileSize = 128;

const std::string kCrLf = "\r\n";

std::string_view asChars(std::span<const std::uint8_t> bytes)
{
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::span<const std::uint8_t> asBytes(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

enum class MessageCount { Nearest, Ceiling };

// The data parts of consecutive messages, back to back, cut to whole voices.
// Only the last message can be short: when it still ends in F7 its last two
// bytes are checksum and F7; when it does not, it was cut off mid-data and
// everything after its header is data.
ByteArray stripMessages(std::span<const std::uint8_t> in, std::size_t messageSize,
                        std::size_t dataSize, std::size_t voiceSize, MessageCount rule)
{
    const std::size_t length = in.size();
    std::size_t count = length / messageSize;
    const std::size_t rest = length % messageSize;
    if (rule == MessageCount::Ceiling ? rest > 0 : 2 * rest >= messageSize)
        ++count;

    ByteArray out;
    out.reserve(count * dataSize);
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t start = k * messageSize;
        const std::size_t end = std::min(start + messageSize, length);
        std::size_t dataEnd = start + kSysexHeaderSize + dataSize;
        if (end - start < messageSize) {
            std::size_t available = end;
            if (in[end - 1] == kSysexEnd)
                available = end >= start + 2 ? end - 2 : start;
            dataEnd = std::min(dataEnd, available);
        }
        const std::size_t dataStart = start + kSysexHeaderSize;
        if (dataEnd > dataStart)
            out.insert(out.end(), in.begin() + static_cast<std::ptrdiff_t>(dataStart),
                       in.begin() + static_cast<std::ptrdiff_t>(dataEnd));
    }
    out.resize(out.size() - out.size() % voiceSize);
    return out;
}

ByteArray stripImage(std::span<const std::uint8_t> in, int fileType, MessageCount rule)
{
    const int voiceSize = VoiceSizeOfType(fileType);
    if (voiceSize <= 0)
        return {};
    const auto size = static_cast<std::size_t>(voiceSize);
    switch (fileType) {
    case 1: return stripMessages(in, kSingleMessageSize, kUnpackedVoiceSize, size, rule);
    case 3: return stripMessages(in, kBankMessageSize, kBankDataSize, size, rule);
    default: return ByteArray(in.begin(), in.end() - static_cast<std::ptrdiff_t>(in.size() % size));
    }
}

void appendMessage(ByteArray& out, std::span<const std::uint8_t> data, int fileType)
{
    const auto& header = fileType == 1 ? kSingleHeader : kBankHeader;
    out.insert(out.end(), header.begin(), header.end());
    out.insert(out.end(), data.begin(), data.end());
    out.push_back(SysexChecksum(data));
    out.push_back(kSysexEnd);
}

bool isSyVoiceFile(std::span<const std::uint8_t> head)
{
    return head.size() >= kSyTagOffset + kSyVoiceTag.size() && head[1] == kYamahaId &&
           asChars(head.subspan(kSyTagOffset, kSyVoiceTag.size())) == kSyVoiceTag;
}

ByteArray readHead(const std::string& path, std::size_t count)
{
    ByteArray head(count);
    std::ifstream in(fs::path(path), std::ios::binary);
    if (!in)
        return {};
    in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(count));
    head.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return head;
}

bool endsWith(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

std::string integrityMessage(int code, const std::string& name, bool haveFile, std::size_t length)
{
    if (!haveFile) {
        switch (code) {
        case -3:
            return "Invalid sysex message received (" + Str(static_cast<long long>(length)) + ") bytes.";
        case -2: return "No data in sysex message";
        default: return {};
        }
    }
    switch (code) {
    case -5: return name + " is a SY format file ";
    case -3: return name + " does not contain DX7 voice data ";
    case -2: return name + " is empty";
    case -1:
        if (endsWith(name, "DXInit.dat"))
            return "The source file DXInit.dat can't be found";
        return "Can't find " + name;
    default: return {};
    }
}

void clearStatus(UiServices& ui)
{
    ShowStatus(ui, "", 0, 0);
}

} // namespace

int GetFileType(long long length)
{
    if (length < 0)
        return -3;
    if (length % 155 == 0)
        return 0;
    if (length % 128 == 0)
        return 2;
    if (length % 163 == 0)
        return 1;
    if ((length % 4096) % 8 == 0)
        return 3;
    return -3;
}

int VoiceSizeOfType(int type)
{
    switch (type) {
    case 0:
    case 1: return static_cast<int>(kUnpackedVoiceSize);
    case 2:
    case 3: return static_cast<int>(kPackedVoiceSize);
    default: return -1;
    }
}

bool IsPackedType(int type)
{
    // The one rule for "is packed"; VoiceLayout agrees on the four real types.
    return type >= 2;
}

ByteString AddWrapper(std::string_view data, int fileType)
{
    ByteArray out;
    out.reserve(data.size() + kSysexHeaderSize + 2);
    appendMessage(out, asBytes(data), fileType);
    return toByteString(out);
}

ByteString stripheaders(std::string_view data, int& fileType, bool changeType)
{
    ByteString out;
    if (fileType == 1 || fileType == 3)
        out = toByteString(stripImage(asBytes(data), fileType, MessageCount::Nearest));
    else
        out = ByteString(data);
    if (changeType && (fileType == 1 || fileType == 3))
        fileType -= 1;
    return out;
}

ByteArray FrameVoiceImage(std::span<const std::uint8_t> image, int fileType, UiServices& ui)
{
    if (fileType != 1 && fileType != 3)
        return ByteArray(image.begin(), image.end());

    const std::size_t chunk = fileType == 1 ? kUnpackedVoiceSize : kBankDataSize;
    const std::size_t messages = (image.size() + chunk - 1) / chunk;
    ByteArray out;
    out.reserve(image.size() + messages * (kSysexHeaderSize + 2));
    for (std::size_t m = 0; m < messages; ++m) {
        if (fileType == 1 && m % kVoicesPerBank == 0)
            ShowStatus(ui, "Please wait - adding sysex wrappers to voice " +
                               Str(static_cast<long long>(m + 1)) + " of " +
                               Str(static_cast<long long>(messages)));
        const std::size_t start = m * chunk;
        appendMessage(out, image.subspan(start, std::min(chunk, image.size() - start)), fileType);
    }
    return out;
}

bool RestructureFileBufferByt(UiServices& ui, ByteArray& image, int fromType, int toType)
{
    if (VoiceSizeOfType(fromType) < 0 || VoiceSizeOfType(toType) < 0)
        return false;
    const bool packing = IsPackedType(toType);
    if (IsPackedType(fromType) == packing)
        return true;

    BusyPointer busy(ui);
    ShowStatus(ui, "Please Wait - Changing file type");
    const std::size_t inSize = packing ? kUnpackedVoiceSize : kPackedVoiceSize;
    const std::size_t outSize = packing ? kPackedVoiceSize : kUnpackedVoiceSize;
    const std::size_t voices = image.size() / inSize;
    const long banks = BankCount(static_cast<long>(voices));

    ByteArray out(voices * outSize);
    for (std::size_t v = 0; v < voices; ++v) {
        if (v % kVoicesPerBank == 0)
            ShowStatus(ui, "Please Wait - Converting Bank " +
                               StrTrim(BankOfVoice(static_cast<long>(v + 1))) + " of " +
                               StrTrim(banks));
        const std::uint8_t* from = image.data() + v * inSize;
        std::uint8_t* to = out.data() + v * outSize;
        if (packing)
            packVoice(std::span<const std::uint8_t, kUnpackedVoiceSize>(from, kUnpackedVoiceSize),
                      std::span<std::uint8_t, kPackedVoiceSize>(to, kPackedVoiceSize));
        else
            unpackVoice(std::span<const std::uint8_t, kPackedVoiceSize>(from, kPackedVoiceSize),
                        std::span<std::uint8_t, kUnpackedVoiceSize>(to, kUnpackedVoiceSize));
    }
    image = std::move(out);
    clearStatus(ui);
    return true;
}

int CheckFileIntegrity(UiServices& ui, std::string& fileName, int& fileType, bool quiet,
                       std::string_view buffer)
{
    fileType = -1;
    const bool haveFile = !fileName.empty();
    std::size_t length = 0;
    int code = 0;

    if (haveFile) {
        std::error_code ec;
        const fs::path path(fileName);
        if (!fs::is_regular_file(path, ec)) {
            code = -1;
        } else {
            length = static_cast<std::size_t>(fs::file_size(path, ec));
            if (ec || length == 0)
                code = -2;
            else if (isSyVoiceFile(readHead(fileName, kSyProbeSize)))
                code = -5;
        }
    } else {
        length = buffer.size();
        if (length == 0) {
            code = -2;
            fileName = "The buffer ";
        }
    }

    if (code == 0) {
        // Where the length fits more than one layout the bytes decide, so a
        // file we wrote opens as what it holds.
        code = GetFileType(static_cast<long long>(length));
        if (haveFile) {
            ByteArray content;
            if (ReadWholeFile(fileName, content) && content.size() == length)
                code = FileTypeOfContent(content);
        } else {
            code = FileTypeOfContent(asBytes(buffer));
        }
    }
    if (code >= 0) {
        fileType = code;
        return 0;
    }
    if (!quiet)
        ui.MsgBox(integrityMessage(code, fileName, haveFile, length), "Error Opening File",
                  MsgIcon::Exclamation, MsgButtons::OKCancel);
    return code;
}

namespace {

std::string emptyFileText(const std::string& fileTitle)
{
    return "No voice data found in " + fileTitle + kCrLf + "Please select another file";
}

std::string invalidFileText(const std::string& fileTitle)
{
    return fileTitle + " cannot be loaded as it does not contain DX format voice data." + kCrLf +
           "Please select another file";
}

} // namespace

bool GetFileByt(UiServices& ui, const std::string& fileName, const std::string& fileTitle,
                int fileType, ByteArray& image, std::int32_t& crc, bool keepStripped)
{
    const fs::path path(fileName);
    std::error_code ec;
    const std::uintmax_t length = fs::file_size(path, ec);
    if (!ec && length < kMinimumFileSize) {
        ui.MsgBox(emptyFileText(fileTitle), "Empty File", MsgIcon::Critical);
        return false;
    }
    if (VoiceSizeOfType(fileType) < 0) {
        ui.MsgBox(invalidFileText(fileTitle), "Invalid file type", MsgIcon::Critical);
        return false;
    }

    BusyPointer busy(ui);
    ShowStatus(ui, "Please Wait - reading " + fileTitle);
    ByteArray file;
    ShowStatus(ui, "Please Wait - reading " + fileName);
    const bool read = !ec && ReadWholeFile(fileName, file);
    clearStatus(ui);
    if (!read) {
        ui.MsgBox("Couldn't open " + fileName, "File Access Error", MsgIcon::Exclamation);
        return false;
    }
    return GetContentByt(ui, fileTitle, fileType, std::move(file), image, crc, keepStripped);
}

bool GetContentByt(UiServices& ui, const std::string& fileTitle, int fileType, ByteArray&& file,
                   ByteArray& image, std::int32_t& crc, bool keepStripped)
{
    // A file may have changed since its length was taken.
    if (file.size() < kMinimumFileSize) {
        ui.MsgBox(emptyFileText(fileTitle), "Empty File", MsgIcon::Critical);
        return false;
    }
    if (VoiceSizeOfType(fileType) < 0) {
        ui.MsgBox(invalidFileText(fileTitle), "Invalid file type", MsgIcon::Critical);
        return false;
    }
    if (fileType == 1 || fileType == 3) {
        const std::uint8_t format = fileType == 1 ? kSingleVoiceFormat : kBankFormat;
        if (file[1] != kYamahaId || file[3] != format) {
            ui.MsgBox(invalidFileText(fileTitle), "Invalid file type", MsgIcon::Critical);
            return false;
        }
    }

    if (fileType == 0 || fileType == 2) {
        // Raw voices: stripping only drops a partial voice at the end, so the
        // file itself serves without a second copy of a large image.
        const auto voiceSize = static_cast<std::size_t>(VoiceSizeOfType(fileType));
        const std::size_t whole = file.size() - file.size() % voiceSize;
        crc = CalcCRC32(std::span<const std::uint8_t>(file).first(whole));
        if (keepStripped)
            file.resize(whole);
        image = std::move(file);
        return true;
    }
    ByteArray stripped = stripImage(file, fileType, MessageCount::Ceiling);
    crc = CalcCRC32(std::span<const std::uint8_t>(stripped));
    image = keepStripped ? std::move(stripped) : std::move(file);
    return true;
}

bool IsKeptNameCharacter(std::uint8_t b)
{
    return b >= 32 && b <= 126 && b != '\'';
}

std::string CleanVoiceName(std::string_view tenBytes, bool& changed)
{
    std::string name(tenBytes);
    changed = false;
    bool firstReplaced = false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const std::uint8_t b = byteAt(name, i);
        if (!IsKeptNameCharacter(b)) {
            name[i] = ' ';
            changed = true;
            firstReplaced = firstReplaced || i == 0;
        }
    }
    if (firstReplaced)
        name.erase(0, 1);
    return name;
}

bool ReadWholeFile(const std::string& path, ByteArray& bytes)
{
    // A folder opens as a stream on some systems, with a meaningless length.
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(path), ec))
        return false;
    std::ifstream in(fs::path(path), std::ios::binary | std::ios::ate);
    if (!in)
        return false;
    const std::streamoff size = in.tellg();
    if (size < 0)
        return false;
    ByteArray data(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(size)))
        return false;
    bytes = std::move(data);
    return true;
}

} // namespace toneloft
