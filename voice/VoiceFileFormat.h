#pragma once

#include "common/ByteString.h"
#include "common/FileReplacing.h"
#include "common/UiServices.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace toneloft {

// File types, decided by length (and, where a length fits more than one, by
// content: see FileTypeOfContent):
//   0  raw unpacked voices, 155 bytes each
//   1  single-voice messages, 163 bytes each: F0 43 0n 00 01 1B, 155 data, sum, F7
//   2  raw packed voices, 128 bytes each
//   3  32-voice bank messages, 4104 bytes each: F0 43 0n 09 20 00, 4096 data, sum, F7
//  -3  not DX voice data
constexpr std::size_t kSingleMessageSize = 163;
constexpr std::size_t kBankMessageSize = 4104;
constexpr std::size_t kBankDataSize = 4096;
constexpr std::size_t kSysexHeaderSize = 6;

// 0, 2, 1, 3 tested in that order; -3 when none fits (or length < 0).
int GetFileType(long long length);
// 155 for types 0 and 1, 128 for 2 and 3, -1 for anything else.
int VoiceSizeOfType(int type);
// Types 2 and above hold packed voices.
bool IsPackedType(int type);

// Frames data as one message: a single voice for type 1, a bank for any other
// type. The data length is not checked; the header always claims 155 or 4096.
ByteString AddWrapper(std::string_view data, int fileType);

// Removes message framing from received data. Types 0 and 2 are returned as
// they are; types 1 and 3 count length / message size to the nearest whole
// number of messages. Only whole voices are kept. With changeType, 1 becomes 0
// and 3 becomes 2.
ByteString stripheaders(std::string_view data, int& fileType, bool changeType);

// The framing step of saving: for type 1 one message per 155 bytes, for type 3
// one per 4096 bytes, the last bank message holding only what remains (its
// header still reads 20 00). Other types come back unchanged.
ByteArray FrameVoiceImage(std::span<const std::uint8_t> image, int fileType, UiServices& ui);

// Converts an image between packed and unpacked layouts; nothing to do within
// one layout. Only whole voices are converted: trailing bytes short of a voice
// are dropped. The number of banks shown counts a last, partial bank. False,
// and image untouched, for a type outside 0..3.
bool RestructureFileBufferByt(UiServices& ui, ByteArray& image, int fromType, int toType);

// Checks that a file (or, with an empty fileName, the buffer) can be opened:
// 0, or -1 missing, -2 empty, -3 not DX voice data, -5 an SY voice file. The
// SY test applies to files only. fileType comes back as the file's type, or -1
// on any error. Unless quiet, an error is shown in an OK/Cancel box.
int CheckFileIntegrity(UiServices& ui, std::string& fileName, int& fileType, bool quiet,
                       std::string_view buffer);

// Reads a file of the given type and strips its framing into a voice image
// (voices back to back). True on success; every failure has told the user.
// Never reads past the end, whatever the lengths say. Bank messages are counted
// with a last, short one included; a short message that ends in F7 loses its
// last two bytes (checksum, F7), one that does not was cut off mid-data and
// keeps all it has. A trailing part of a voice is dropped, so the image is
// always a whole number of voices. Checksums, byte counts and device numbers
// are not checked. crc is the CRC-32 of the stripped image; without
// keepStripped image receives the file's bytes unchanged.
bool GetFileByt(UiServices& ui, const std::string& fileName, const std::string& fileTitle,
                int fileType, ByteArray& image, std::int32_t& crc, bool keepStripped);
// The same for bytes already read (the whole file): every check and message
// after the reading.
bool GetContentByt(UiServices& ui, const std::string& fileTitle, int fileType, ByteArray&& file,
                   ByteArray& image, std::int32_t& crc, bool keepStripped);

// Whether a name byte is kept as it is by CleanVoiceName: 32..126 except the
// apostrophe. Name entry refuses the rest as it is typed.
bool IsKeptNameCharacter(std::uint8_t b);

// Bytes below 32, above 126 and the apostrophe become blanks; when the first
// had to be replaced the name loses its first character. changed is set to
// whether this name needed cleaning.
std::string CleanVoiceName(std::string_view tenBytes, bool& changed);

// The whole file into bytes; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, ByteArray& bytes);


} // namespace toneloft
