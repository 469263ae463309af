#pragma once

#include "library/VoiceListViewState.h"
#include "midi/MidiVoiceListLink.h"

#include <memory>

namespace toneloft {

class Session;
class clsVoiceNames;

// The MIDI exchange's view of the open voice lists, over the program's Session:
// received dumps become files and lists, sends read the active list.
class SessionVoiceListLink : public MidiVoiceListLink {
public:
    explicit SessionVoiceListLink(Session& session);
    ~SessionVoiceListLink() override;

    // The list windows' states (bank on screen, last click); without them a
    // list counts as showing its first bank, nothing clicked.
    void setViewStateOf(VoiceListViewStateOf viewOf) { m_viewOf = std::move(viewOf); }

    std::string dataDirectory() override;
    bool saveAndOpenVoiceFile(const std::string& path, const ByteArray& bytes, int fileType) override;
    bool openReceivedAsTemporaryList(const ByteString& dump) override;
    bool activeIsVoiceList() override;
    // The last clicked voice when it is selected, else the first selected one.
    long selectedVoice() override;
    long voiceCount() override;
    long currentBank() override;
    ByteString voiceData(long n, int layout) override;
    std::optional<ChosenFile> chooseFile(const std::string& dialogTitle) override;
    std::optional<ChosenFile> chooseSaveFile(const std::string& dialogTitle,
                                             const std::string& startFile) override;
    bool saveVoiceFile(const std::string& path, const ByteArray& bytes, int fileType,
                       bool framing) override;
    bool openVoiceFile(const std::string& path) override;

private:
    VoiceListViewState viewOf(const VoiceList& list) const;

    Session& m_session;
    std::unique_ptr<clsVoiceNames> m_files;
    VoiceListViewStateOf m_viewOf;
};

} // namespace toneloft
