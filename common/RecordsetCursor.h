#pragma once

#include "common/Recordset.h"
#include "common/RecordsetFilter.h"
#include "common/RecordsetSort.h"
#include "common/RecordsetView.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace toneloft {

// One cursor's state: its rows (view), where it stands, its filter and sort.
struct Recordset::Cursor {
    enum class Place { Bof, Row, Gap, Eof };
    static constexpr std::uint64_t kStale = 0; // a version no table has

    RecordsetView view;
    std::uint64_t version = kStale; // table version the view was built for
    std::uint64_t closings = 0;     // the table's closings when it was built
    Place place = Place::Bof;
    std::size_t index = 0; // Row: the current entry; Gap: the entry after the gap (or its dead self)

    std::string filterText;
    std::shared_ptr<const RecordsetFilter> filter;
    bool bookmarkFilter = false;
    std::vector<std::uint32_t> bookmarkSlots; // sorted

    RecordsetSort sort;
    std::string sortText;
    int pageSize = 10;

    std::vector<Value> values; // value() hands these out: one per field, refilled on each read

    std::string error;
    ErrorCode errorCode = ErrorCode::None;

    bool onRow() const { return place == Place::Row; }
};

} // namespace toneloft
