#pragma once

#include "common/KeyedCollection.h"
#include "voice/VoiceList.h"

#include <memory>
#include <string>
#include <string_view>

namespace toneloft {

class Session;

// The open voice lists, keyed by ID ("L0001" ...) in the order they were added.
// Keys are never reused while the program runs.
class clsVoiceLists {
public:
    explicit clsVoiceLists(Session& session);

    // Adds a list for a file after asking about a file already open and checking
    // the file. Returns the new list, or null (fileType -1 when the check failed).
    std::shared_ptr<VoiceList> Add(const std::string& fileName, int& fileType);
    // Removes a list and tells the patch generator and the main window.
    void Delete(const std::string& key);

    std::shared_ptr<VoiceList> Item(const std::string& key) const { return m_items.item(key); }
    std::shared_ptr<VoiceList> at(long position) const { return m_items.at(position); }
    long indexOf(const std::string& key) const { return m_items.indexOf(key); }
    long count() const { return m_items.count(); }
    std::vector<std::shared_ptr<VoiceList>> NewEnum() const { return m_items.items(); }
    // The open list of this file name (exact comparison), if any.
    std::shared_ptr<VoiceList> findByFileName(const std::string& fileName) const;

    static std::string GetFileTitle(const std::string& fileName);
    int GetFileType(long long length) const;
    int CheckFileIntegrity(std::string& fileName, int& fileType, bool quiet, std::string_view buffer = {});

    long NextFileNo() const { return m_counter + 1; }
    int FileType() const { return m_fileType; }
    const std::string& ID() const { return m_id.get(); }
    void setID(const std::string& id);

private:
    Session& m_session;
    KeyedCollection<VoiceList> m_items;
    long m_counter = 0;
    int m_fileType = -1;
    SetOnceId m_id;
};

} // namespace toneloft
