#pragma once

#include "common/Recordset.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Value helpers shared by the Recordset, its filters and its sorting.
namespace toneloft::recordset {

using Value = Recordset::Value;
using Field = Recordset::Field;

// Index of the field named so: an exact match first, then any letter case.
std::optional<std::size_t> findField(const std::vector<Field>& fields, std::string_view name);

// ASCII letters only: bytes above 127 compare as they are.
char foldChar(char c);
std::string foldCase(std::string_view text);

// Letter case ignored, and the shorter text compared as if padded with blanks,
// so "piano" equals "PIANO     ". Bytes compare unsigned. <0, 0 or >0.
int compareText(std::string_view a, std::string_view b);

// The text as a literal of a filter text: in single quotes, a quote inside doubled.
std::string quoted(std::string_view text);

// The whole text (blanks around it allowed) read as a decimal number; nothing
// when it is not one.
std::optional<double> parseNumber(std::string_view text);
// The number at the start of the text after leading blanks ("12abc" gives 12);
// 0 when there is none.
double leadingNumber(std::string_view text);

// Shortest text that reads back as the same float, without exponent for
// ordinary magnitudes: 0.5f gives "0.5", 12.0f gives "12".
std::string numberText(float v);

// "" for Null, "True"/"False", number text, or the text itself.
std::string valueText(const Value& v);
// Null and non-numeric text give 0; True gives 1.
double valueNumber(const Value& v);
// Null gives false; text is True when it reads "True" or a non-zero number.
bool valueBoolean(const Value& v);

// What a new row holds in the field: blanks for fixed text, Null otherwise.
Value emptyValue(const Field& field);

// Converts v to what the field stores (text cut or padded to its size, text
// read as a number, ...). False, with out untouched, when it cannot be
// converted (text that is not a number into a Long, a Long overflow ...).
// Text may be moved out of v when it is stored.
bool convertValue(const Field& field, Value& v, Value& out);

} // namespace toneloft::recordset
