#include "voice/Session.h"

#include "voice/VoiceClipboard.h"
#include "voice/clsVoiceLists.h"

#include "common/InstallPaths.h"

#include <algorithm>
#include <filesystem>

namespace toneloft {

namespace fs = std::filesystem;

std::string withTrailingSeparator(std::string folder)
{
    if (folder.empty() || folder.back() != static_cast<char>(fs::path::preferred_separator))
        folder += static_cast<char>(fs::path::preferred_separator);
    return folder;
}

Session::Session(UiServices& ui, std::string programDirectory)
    : m_ui(ui),
      m_programDirectory(withTrailingSeparator(std::move(programDirectory))),
      m_dataDirectory(m_programDirectory),
      m_lists(std::make_unique<clsVoiceLists>(*this)),
      m_clipboard(std::make_unique<VoiceClipboard>())
{
}

Session::~Session() = default;

void Session::setDataDirectory(const std::string& folder)
{
    m_dataDirectory = withTrailingSeparator(folder);
}

void Session::findDataDirectory(const std::string& userFolder)
{
    // An installed program's folder is not where it may write: the user's own
    // data folder takes its place, with the same Data rule.
    std::string base = m_programDirectory;
    if (!userFolder.empty() && (RunsInstalled(m_programDirectory) || !IsWritableFolder(m_programDirectory))) {
        std::error_code made;
        fs::create_directories(userFolder, made);
        base = withTrailingSeparator(userFolder);
    }
    const fs::path data = fs::path(base) / "Data";
    std::error_code ec;
    bool found = false;
    if (fs::is_directory(data, ec)) {
        for (const auto& entry : fs::directory_iterator(data, ec)) {
            std::string ext = entry.path().extension().string();
            std::transform(ext.begin(), ext.end(), ext.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (ext == ".dat" && entry.is_regular_file(ec)) {
                found = true;
                break;
            }
        }
    }
    m_dataDirectory = found ? withTrailingSeparator(data.string()) : base;
}

std::string Session::initFilePath() const
{
    return FindInstalledFile(m_programDirectory, "DXInit.dat");
}

void Session::setActive(VoiceList* list, VoiceEditor* editor)
{
    m_activeList = list;
    m_activeEditor = editor;
}

void Session::addObserver(SessionObserver* observer)
{
    if (observer && std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void Session::removeObserver(SessionObserver* observer)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
}

void Session::notify(const std::function<void(SessionObserver&)>& call)
{
    // A snapshot: an observer may unsubscribe while being told.
    const auto observers = m_observers;
    for (auto* o : observers)
        call(*o);
}

} // namespace toneloft
