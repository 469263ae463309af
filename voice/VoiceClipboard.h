#pragma once

#include "common/Recordset.h"

#include <cstdint>
#include <memory>

namespace toneloft {

// The program's own clipboard of voices (not the system clipboard): a
// voice-name table filled by Copy and Cut, replaced by the next Copy and
// emptied by Paste.
class VoiceClipboard {
public:
    bool isEmpty() const { return count == 0; }
    // Takes the copied rows and the file type (0..3) of the list they came from.
    void fill(std::unique_ptr<Recordset> rows, int fileType);
    void clear();
    Recordset* rows() { return table.get(); }

    std::unique_ptr<Recordset> table;
    std::int32_t count = 0;
    std::int16_t sourceType = 0;
    std::int16_t targetType = 0;        // set during a paste
    std::int32_t insertPosition = 0;    // set during a paste
};

} // namespace toneloft
