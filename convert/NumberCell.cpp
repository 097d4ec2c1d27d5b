#include "NumberCell.h"

#include <cmath>

std::string TrimBlanks(const std::string& text) {
    const char* blanks = " \t\r\n\v\f";
    const std::string::size_type first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool ScaleToField(double value, double factor, std::uint32_t largest, std::uint32_t& field) {
    const double scaled = std::round(value * factor);
    // Compared as doubles first: converting an out-of-range double to an
    // integer is undefined.
    if (!(scaled >= 0.0 && scaled <= static_cast<double>(largest))) return false;
    field = static_cast<std::uint32_t>(scaled);
    return true;
}
