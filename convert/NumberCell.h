#pragma once
#include <cstdint>
#include <string>

// How the import reads a number cell: blanks around it are allowed, an empty
// cell reads as 0 (the export leaves recurring costs' mileage and fill-up
// cells empty), and anything else must be wholly a decimal number with "."
// as decimal point, the way the export writes numbers.  "12,5", "abc",
// "nan", "inf" and hexadecimal are not numbers here.
enum class NumberCell { Empty, Number, Invalid };
NumberCell ParseNumberCell(const std::string& text, double& value);

// value x factor rounded to the nearest integer, when that lies within
// 0..largest; false for anything else, so that no value is wrapped or cut.
bool ScaleToField(double value, double factor, std::uint32_t largest, std::uint32_t& field);

std::string TrimBlanks(const std::string& text);
