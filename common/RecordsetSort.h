#pragma once

#include "common/Recordset.h"
#include "common/RecordsetStore.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace toneloft {

// A sort order "Field [ASC|DESC][, Field [ASC|DESC] ...]" compiled against a
// table's fields. Text orders as filters compare it (letter case and trailing
// blanks ignored), Booleans False first, Null as the type's empty value.
class RecordsetSort {
public:
    // Nothing, with code and message set, when a field is unknown or the text
    // does not parse. An empty text gives an empty order.
    static std::optional<RecordsetSort> compile(std::string_view text, const std::vector<Recordset::Field>& fields,
                                                Recordset::ErrorCode& code, std::string& message);

    bool empty() const { return m_keys.empty(); }
    // Orders the slots by the keys; rows with equal keys keep their order.
    void apply(std::vector<std::uint32_t>& slots, const RecordsetStore& rows) const;

private:
    struct Key {
        std::size_t field = 0;
        Recordset::FieldType type = Recordset::FieldType::Text;
        bool descending = false;
    };
    std::vector<Key> m_keys;
};

} // namespace toneloft
