#pragma once

#include "common/Recordset.h"

#include <gtest/gtest.h>

#include <string>

namespace toneloft::test {

// A table with a variable text ID, a fixed ten-character Names, a Long, a Single and a Boolean.

inline void declareFields(Recordset& rs)
{
    rs.appendField("ID", Recordset::FieldType::Text, 10);
    rs.appendField("Names", Recordset::FieldType::Text, 10, true);
    rs.appendField("Level", Recordset::FieldType::Long);
    rs.appendField("Ratio", Recordset::FieldType::Single);
    rs.appendField("DelSelected", Recordset::FieldType::Boolean);
}

// A table of rows "A", "B", ... in its ID field.
inline void fill(Recordset& rs, const std::string& ids)
{
    for (const char id : ids) {
        rs.addNew();
        rs.setValue("ID", std::string(1, id));
        rs.update();
    }
}

// The IDs of the rows the cursor shows, in its order; leaves it at EOF.
inline std::string ids(Recordset& rs)
{
    std::string out;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        out += rs.text("ID");
    return out;
}

class RecordsetTest : public testing::Test {
protected:
    void SetUp() override
    {
        declareFields(rs);
        rs.open();
    }
    Recordset rs;
};

} // namespace toneloft::test
