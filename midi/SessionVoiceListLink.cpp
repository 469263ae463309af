#include "midi/SessionVoiceListLink.h"

#include "library/VoiceAudition.h"
#include "voice/Session.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceNames.h"

namespace toneloft {

SessionVoiceListLink::SessionVoiceListLink(Session& session)
    : m_session(session), m_files(std::make_unique<clsVoiceNames>(session))
{
}

SessionVoiceListLink::~SessionVoiceListLink() = default;

VoiceListViewState SessionVoiceListLink::viewOf(const VoiceList& list) const
{
    const VoiceListViewState* view = m_viewOf ? m_viewOf(list) : nullptr;
    return view ? *view : VoiceListViewState{};
}

std::string SessionVoiceListLink::dataDirectory()
{
    return m_session.DataDirectory();
}

bool SessionVoiceListLink::saveAndOpenVoiceFile(const std::string& path, const ByteArray& bytes,
                                                int fileType)
{
    // The received bytes are whole messages already: written as they are.
    if (!m_files->SaveVoiceDataToFileByt(&bytes, path, fileType, false, {}, {},
                                         clsVoiceNames::FileAttributes::Normal))
        return false;
    return m_files->CreateVoiceListandFileImage(path, false) != nullptr;
}

bool SessionVoiceListLink::openReceivedAsTemporaryList(const ByteString& dump)
{
    return m_files->InitPatchView(dump) != nullptr;
}

bool SessionVoiceListLink::activeIsVoiceList()
{
    return m_session.activeList() != nullptr && m_session.activeEditor() == nullptr;
}

long SessionVoiceListLink::selectedVoice()
{
    VoiceList* list = m_session.activeList();
    if (!list || list->tracker.TotalSelections() == 0)
        return 0;
    const long lastClicked = viewOf(*list).lastClickedVoice;
    if (list->tracker.isSelected(lastClicked))
        return lastClicked;
    const auto selected = list->tracker.selected();
    return selected.empty() ? 0 : selected.front();
}

long SessionVoiceListLink::voiceCount()
{
    VoiceList* list = m_session.activeList();
    return list ? list->voiceCount() : 0;
}

long SessionVoiceListLink::currentBank()
{
    VoiceList* list = m_session.activeList();
    return list ? viewOf(*list).bank : 0;
}

ByteString SessionVoiceListLink::voiceData(long n, int layout)
{
    VoiceList* list = m_session.activeList();
    return list ? VoiceAudition::voiceString(m_session, *list, n, layout) : ByteString{};
}

std::optional<MidiVoiceListLink::ChosenFile> SessionVoiceListLink::chooseFile(const std::string& dialogTitle)
{
    const auto choice = m_files->GetFileName(dialogTitle, clsVoiceNames::DialogMode::Open);
    if (!choice.chosen || choice.fileName.empty())
        return std::nullopt;
    return ChosenFile{choice.fileName, choice.fileTitle};
}

std::optional<MidiVoiceListLink::ChosenFile>
SessionVoiceListLink::chooseSaveFile(const std::string& dialogTitle, const std::string& startFile)
{
    std::string title = startFile;
    if (const auto slash = title.find_last_of("/\\"); slash != std::string::npos)
        title.erase(0, slash + 1);
    const auto choice =
        m_files->GetFileName(dialogTitle, clsVoiceNames::DialogMode::Save, startFile, title);
    if (!choice.chosen || choice.fileName.empty())
        return std::nullopt;
    return ChosenFile{choice.fileName, choice.fileTitle};
}

bool SessionVoiceListLink::saveVoiceFile(const std::string& path, const ByteArray& bytes,
                                         int fileType, bool framing)
{
    return m_files->SaveVoiceDataToFileByt(&bytes, path, fileType, framing, {}, {},
                                           clsVoiceNames::FileAttributes::Normal);
}

bool SessionVoiceListLink::openVoiceFile(const std::string& path)
{
    return m_files->CreateVoiceListandFileImage(path, false) != nullptr;
}

} // namespace toneloft
