#pragma once

#include "common/ByteString.h"

#include <optional>
#include <string>

namespace toneloft {

// What the MIDI exchange needs from the voice lists; the program wires it to
// the open lists and the main window, tests to a double.
class MidiVoiceListLink {
public:
    virtual ~MidiVoiceListLink() = default;

    // The main window's data directory, with its trailing separator.
    virtual std::string dataDirectory() = 0;
    // Writes a received dump as a voice file of fileType (1 voice, 3 bank)
    // and opens it as a new voice list. False when either step failed (the
    // user has been told).
    virtual bool saveAndOpenVoiceFile(const std::string& path, const ByteArray& bytes,
                                      int fileType) = 0;
    // Opens the bank (or voice) that the start-up test received as a
    // temporary voice list. False when it could not be opened.
    virtual bool openReceivedAsTemporaryList(const ByteString& dump) = 0;

    // The active child window is a voice list.
    virtual bool activeIsVoiceList() = 0;
    // Of the active voice list: the selected voice (0 when none), the number
    // of voices, and the bank its scroll bar shows (1-based).
    virtual long selectedVoice() = 0;
    virtual long voiceCount() = 0;
    virtual long currentBank() = 0;
    // Voice n (1-based) of the active list: layout 1 the unpacked 155 bytes,
    // 2 the packed 128 bytes, name included.
    virtual ByteString voiceData(long n, int layout) = 0;

    struct ChosenFile {
        std::string path;
        std::string title; // the name without its folder
    };
    // The open file dialogue with the voice file filters; nullopt when cancelled.
    virtual std::optional<ChosenFile> chooseFile(const std::string& dialogTitle) = 0;

    // The MIDI manager's store. The save dialogue for voice files, starting
    // from startFile (a path, or empty for none); nullopt when cancelled.
    virtual std::optional<ChosenFile> chooseSaveFile(const std::string& /*dialogTitle*/,
                                                     const std::string& /*startFile*/)
    {
        return std::nullopt;
    }
    // Writes a voice image of fileType to path, framed as messages when
    // framing is set (types 1 and 3). False when it failed (the user has been told).
    virtual bool saveVoiceFile(const std::string& /*path*/, const ByteArray& /*bytes*/,
                               int /*fileType*/, bool /*framing*/)
    {
        return false;
    }
    // Opens a voice file as a new voice list. False when it could not be opened.
    virtual bool openVoiceFile(const std::string& /*path*/) { return false; }
};

} // namespace toneloft
