#include "voice/VoiceClipboard.h"

namespace toneloft {

void VoiceClipboard::fill(std::unique_ptr<Recordset> rows, int fileType)
{
    table = std::move(rows);
    count = table ? static_cast<std::int32_t>(table->recordCount()) : 0;
    sourceType = static_cast<std::int16_t>(fileType);
}

void VoiceClipboard::clear()
{
    table.reset();
    count = 0;
}

} // namespace toneloft
