#include "voice/clsVoiceNames.h"

#include "common/NumberText.h"
#include "voice/Session.h"
#include "voice/VoiceFileContent.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceLists.h"

#include <filesystem>

namespace toneloft {

namespace {

// A file name in folder that no file has yet: "Found in X.dat", then "Found in X (2).dat" ...
std::string freeFileName(const std::string& folder, const std::string& sourceTitle)
{
    namespace fs = std::filesystem;
    const std::string stem = fs::path(sourceTitle).stem().string();
    std::error_code ec;
    for (int n = 1;; ++n) {
        const std::string name =
            folder + "Found in " + stem + (n == 1 ? std::string() : " (" + std::to_string(n) + ")") + ".dat";
        if (!fs::exists(name, ec))
            return name;
    }
}

} // namespace

std::shared_ptr<VoiceList> clsVoiceNames::OpenVoicesFoundInside(const std::string& fileName)
{
    if (m_session.voicesInside == Session::VoicesInside::Leave)
        return nullptr;
    ByteArray content;
    if (!ReadWholeFile(fileName, content))
        return nullptr;
    const VoicesFound found = FindVoicesInside(content);
    if (found.voiceCount == 0)
        return nullptr;

    UiServices& ui = m_session.ui();
    const std::string title = clsVoiceLists::GetFileTitle(fileName);
    if (m_session.voicesInside == Session::VoicesInside::Ask) {
        const MsgResult answer =
            ui.MsgBox(title + " holds " + StrTrim(static_cast<long>(found.voiceCount)) +
                          " DX7 voices among other data.\r\n"
                          "Do you want to open them as a new voice list ?\r\n"
                          "(" + title + " itself is not changed)",
                      "Voices Found", MsgIcon::Question, MsgButtons::YesNo);
        if (answer != MsgResult::Yes)
            return nullptr;
    }

    // The voices go to a file of their own, opened as a list that has never
    // been saved: saving it asks for a name, closing it deletes the file.
    const std::string target = freeFileName(m_session.DataDirectory(), title);
    if (!SaveVoiceDataToFileByt(&found.image, target, found.fileType, false, {}, "", FileAttributes::Normal))
        return nullptr;
    auto list = CreateVoiceListandFileImage(target, true);
    if (!list) {
        std::error_code ec;
        std::filesystem::remove(target, ec);
    }
    return list;
}

} // namespace toneloft
