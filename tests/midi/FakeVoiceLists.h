#pragma once

#include "midi/MidiVoiceListLink.h"

#include <string>
#include <vector>

namespace toneloft::test {

// Voice lists as the MIDI exchange sees them: a scripted active list and a
// record of the files and temporary lists it was asked to open.
class FakeVoiceLists : public MidiVoiceListLink {
public:
    struct Saved {
        std::string path;
        ByteArray bytes;
        int fileType;
    };

    std::string folder = "/data/";
    bool isVoiceList = true;
    long selected = 0;
    long count = 0;
    long bank = 1;
    std::optional<ChosenFile> fileAnswer;

    std::vector<Saved> saved;
    std::vector<ByteString> temporaryLists;
    std::vector<std::string> dialogTitles;

    std::string dataDirectory() override { return folder; }
    bool saveAndOpenVoiceFile(const std::string& path, const ByteArray& bytes, int fileType) override
    {
        saved.push_back({path, bytes, fileType});
        return true;
    }
    bool openReceivedAsTemporaryList(const ByteString& dump) override
    {
        temporaryLists.push_back(dump);
        return true;
    }
    bool activeIsVoiceList() override { return isVoiceList; }
    long selectedVoice() override { return selected; }
    long voiceCount() override { return count; }
    long currentBank() override { return bank; }
    // Voice n: every data byte n, the name "VOICE" and n.
    ByteString voiceData(long n, int layout) override
    {
        const std::size_t size = layout == 1 ? 155 : 128;
        ByteString v(size - 10, static_cast<char>(n & 0x7F));
        std::string name = "VOICE " + std::to_string(n);
        name.resize(10, ' ');
        return v + name;
    }
    std::optional<ChosenFile> chooseFile(const std::string& title) override
    {
        dialogTitles.push_back(title);
        return fileAnswer;
    }
};

} // namespace toneloft::test
