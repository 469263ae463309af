// Filter and find texts typed or built from typed names ("Names = 'BR*SS'"),
// over a small table of every field type.
#include "common/Recordset.h"

#include <cstdint>
#include <string>

using namespace toneloft;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string criteria(reinterpret_cast<const char*>(data), size);
    Recordset table;
    table.appendField("Names", Recordset::FieldType::Text, 10);
    table.appendField("ID", Recordset::FieldType::Long);
    table.appendField("Value", Recordset::FieldType::Single);
    table.appendField("Flag", Recordset::FieldType::Boolean);
    table.open();
    const std::string_view rows[][4] = {{"BRASS   1 ", "-2", "-1.5", "True"},
                                        {"E.PIANO 1 ", "0", "0", "False"},
                                        {"", "7", "2.25", "True"},
                                        {"O'NEIL    ", "2147483647", "1E+30", "False"},
                                        {"*?[]#%_   ", "-2147483648", "-0.001", "True"}};
    for (const auto& row : rows)
        (void)table.appendTextRow(row);
    if (table.setFilter(criteria))
        for (table.moveFirst(); !table.eof(); table.moveNext())
            (void)table.text("Names");
    table.setFilter(std::string());
    table.moveFirst();
    (void)table.find(criteria, 0, true);
    table.moveLast();
    (void)table.find(criteria, 1, false);
    return 0;
}
