#include "voice/clsVoiceLists.h"

#include "common/NumberText.h"
#include "voice/Session.h"
#include "voice/VoiceFileFormat.h"

#include <algorithm>
#include <cstdio>

namespace toneloft {

clsVoiceLists::clsVoiceLists(Session& session) : m_session(session) {}

std::string clsVoiceLists::GetFileTitle(const std::string& fileName)
{
    const auto cut = fileName.find_last_of("/\\");
    return cut == std::string::npos ? fileName : fileName.substr(cut + 1);
}

int clsVoiceLists::GetFileType(long long length) const
{
    return toneloft::GetFileType(length);
}

int clsVoiceLists::CheckFileIntegrity(std::string& fileName, int& fileType, bool quiet,
                                      std::string_view buffer)
{
    return toneloft::CheckFileIntegrity(m_session.ui(), fileName, fileType, quiet, buffer);
}

std::shared_ptr<VoiceList> clsVoiceLists::findByFileName(const std::string& fileName) const
{
    for (const auto& list : m_items.items())
        if (list->FileName == fileName)
            return list;
    return nullptr;
}

std::shared_ptr<VoiceList> clsVoiceLists::Add(const std::string& fileName, int& fileType)
{
    UiServices& ui = m_session.ui();

    if (auto open = findByFileName(fileName)) {
        const MsgResult answer = ui.MsgBox("You already have a file open with this name.\r\n"
                                           "Revert to last saved version ?",
                                           "File already open", MsgIcon::Question, MsgButtons::YesNoCancel);
        if (answer != MsgResult::Yes)
            return nullptr;
        // The open list goes, with whatever it asks on closing; if it stays, so does the request.
        if (!open->requestClose(false) || findByFileName(fileName))
            return nullptr;
    }

    std::string name = fileName;
    int type = -1;
    if (CheckFileIntegrity(name, type, false) != 0) {
        fileType = -1;
        return nullptr;
    }
    fileType = type;
    m_fileType = type;

    auto list = std::make_shared<VoiceList>(m_session);
    ++m_counter;
    char key[32];
    std::snprintf(key, sizeof key, "L%04ld", m_counter);
    list->ID = key;
    list->FileName = fileName;
    list->FileType = type;
    list->FileTitle = GetFileTitle(fileName);
    list->FilePath = fileName.substr(0, fileName.size() - list->FileTitle.size());
    list->caption = list->FileTitle;
    m_items.add(list->ID, list);

    auto& tree = m_session.patchSources;
    if (count() == 1) {
        tree.hasRoot = true;
        m_session.notify([](SessionObserver& o) { o.listCommandsEnabled(true); });
    }
    tree.files.push_back({list->ID, list->FileTitle});
    m_session.notify([&](SessionObserver& o) { o.listAdded(*list); });
    return list;
}

void clsVoiceLists::Delete(const std::string& key)
{
    auto list = m_items.item(key);
    if (!list)
        return;
    if (list->FileTitle == Session::kPatchGenTitle)
        m_session.notify([](SessionObserver& o) { o.patchGeneratorListReleased(); });
    auto& files = m_session.patchSources.files;
    files.erase(std::remove_if(files.begin(), files.end(), [&](const auto& n) { return n.key == key; }),
                files.end());
    m_items.remove(key);
    if (m_session.activeList() == list.get())
        m_session.setActive(nullptr, nullptr);
    m_session.notify([&](SessionObserver& o) { o.listRemoved(*list); });
    if (count() == 0) {
        m_session.patchSources.hasRoot = false;
        m_session.notify([](SessionObserver& o) { o.listCommandsEnabled(false); });
    }
}

void clsVoiceLists::setID(const std::string& id)
{
    m_id.set(m_session.ui(), id, "VoiceList");
}

} // namespace toneloft
