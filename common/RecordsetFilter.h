#pragma once

#include "common/Recordset.h"
#include "common/RecordsetStore.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace toneloft {

// A filter text compiled once against a table's fields, then tested per row.
// The grammar is the one Recordset documents for setFilter() and find().
class RecordsetFilter {
public:
    // Null, with code and message set, when the text does not compile.
    static std::shared_ptr<const RecordsetFilter> compile(std::string_view criteria,
                                                          const std::vector<Recordset::Field>& fields,
                                                          Recordset::ErrorCode& code, std::string& message);

    bool matches(const RecordsetStore& rows, std::uint32_t slot) const;

private:
    enum class Op { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Like };
    enum class Kind {
        Text,         // text field against text, pad-blank and case-blind
        TextOrNumber, // text field against a number: numerically when the field reads as one
        Like,
        Number,
        Boolean
    };
    enum class LikeMode { All, Exact, Prefix, Contains };

    struct Comparison {
        std::size_t field = 0;
        Op op = Op::Equal;
        Kind kind = Kind::Text;
        LikeMode like = LikeMode::Exact;
        std::string text; // folded for Like
        double number = 0;
        bool flag = false;
    };

    struct Node {
        enum class Type { Compare, And, Or };
        Type type = Type::Compare;
        std::size_t a = 0; // Compare: index into m_comparisons; otherwise left node
        std::size_t b = 0; // right node
    };

    class Parser;

    static bool holds(Op op, int order);
    bool test(const Comparison& c, const RecordsetStore& rows, std::uint32_t slot) const;
    bool evaluate(std::size_t node, const RecordsetStore& rows, std::uint32_t slot) const;

    std::vector<Comparison> m_comparisons;
    std::vector<Node> m_nodes;
    std::size_t m_root = 0;
};

} // namespace toneloft
