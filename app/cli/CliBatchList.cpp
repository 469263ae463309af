#include "app/cli/CliBatch.h"

#include "voice/Session.h"
#include "library/ListEditing.h"
#include "library/PatchGrouping.h"
#include "voice/VoiceFileFormat.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceLists.h"
#include "voice/clsVoiceNames.h"

#include <iostream>

namespace toneloft::cli {

std::shared_ptr<VoiceList> openAsOneList(Session& session, const std::vector<std::string>& files, long* firstCount)
{
    clsVoiceNames names(session);
    std::shared_ptr<VoiceList> list;
    for (const std::string& file : files) {
        auto opened = names.CreateVoiceListandFileImage(file, false);
        if (!opened) {
            std::cerr << "toneloft-cli: " << file << " could not be opened\n";
            return nullptr;
        }
        if (!list) {
            list = opened;
            if (firstCount)
                *firstCount = list->voiceCount();
            continue;
        }
        // The clipboard's paste converts between packed and unpacked voices.
        std::vector<long> all(static_cast<std::size_t>(opened->voiceCount()));
        for (long v = 1; v <= opened->voiceCount(); ++v)
            all[static_cast<std::size_t>(v - 1)] = v;
        const auto marks = ListEditing::bookmarksOf(*opened, all);
        if (!marks.empty() && ListEditing::EditCopy(*opened, &marks)) {
            VoiceListViewState atEnd;
            atEnd.currentVoice = list->voiceCount() + 1;
            ListEditing::EditPaste(*list, atEnd);
        }
        session.colVoiceLists().Delete(opened->ID);
    }
    if (list)
        list->tracker.reset(0, list->voiceCount());
    return list;
}

bool writeVoices(Session& session, Recordset& rows, int fromType, int toType, const std::string& path)
{
    ByteArray image = PatchGrouping::imageOf(rows, fromType);
    if (IsPackedType(fromType) != IsPackedType(toType) &&
        !RestructureFileBufferByt(session.ui(), image, fromType, toType)) {
        std::cerr << "toneloft-cli: the voices could not be converted to layout " << toType << "\n";
        return false;
    }
    // Framed and written here rather than through the program's save, which would
    // copy a collection-sized image once more.
    if (toType == 1 || toType == 3)
        image = FrameVoiceImage(image, toType, session.ui());
    if (!WriteFileReplacing(path, image)) {
        std::cerr << "toneloft-cli: " << path << " could not be written\n";
        return false;
    }
    return true;
}

} // namespace toneloft::cli
