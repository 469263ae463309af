#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace toneloft {

// Text fields of a Recordset whose cells live outside the table: the table asks
// the source for their texts and hands it their writes, by slot (the row's place
// in the table, which never changes while the row lives). The source is attached
// to the table, so every cursor and clone sees it; filters, sorts and finds read
// its texts like any others.
//
// Writes reach the source already converted as the field requires (cut to its
// size, a fixed field padded with blanks; Null as ""). A source may treat a
// field as derived and ignore writes to it.
class RecordsetColumnSource {
public:
    virtual ~RecordsetColumnSource() = default;

    // Whether the field with this index is served; asked when attached and when
    // the table is opened again, and must not change meanwhile.
    virtual bool serves(std::size_t field) const = 0;
    // The text of a served field. Valid until the source next changes.
    virtual std::string_view text(std::uint32_t slot, std::size_t field) const = 0;
    virtual void setText(std::uint32_t slot, std::size_t field, std::string_view text) = 0;
    // A row was added in this slot, always the next one (slots count from 0).
    virtual void rowAdded(std::uint32_t slot) = 0;
    // Every row is gone (the table was closed or opened); slots start again from 0.
    virtual void reset() = 0;
    // Room for this many rows in all.
    virtual void reserve(std::size_t rows) = 0;
};

} // namespace toneloft
