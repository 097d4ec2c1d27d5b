#include "NumberCell.h"

#include "DecimalText.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

std::string TrimBlanks(const std::string& text) {
    const char* blanks = " \t\r\n\v\f";
    const std::string::size_type first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// [+-] digits [. digits] [e [+-] digits], at least one digit before the exponent.
bool IsDecimalNumber(const std::string& s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t exponentDigits = 0;
        while (i < s.size() && IsDigit(s[i])) ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    return i == s.size();
}
}  // namespace

NumberCell ParseNumberCell(const std::string& text, double& value) {
    const std::string trimmed = TrimBlanks(text);
    value = 0.0;
    if (trimmed.empty()) return NumberCell::Empty;
    if (!IsDecimalNumber(trimmed)) return NumberCell::Invalid;
    value = ParseDecimal(trimmed);
    if (!std::isfinite(value)) return NumberCell::Invalid;
    return NumberCell::Number;
}

bool ScaleToField(double value, double factor, std::uint32_t largest, std::uint32_t& field) {
    const double scaled = std::round(value * factor);
    // Compared as doubles first: converting an out-of-range double to an
    // integer is undefined.
    if (!(scaled >= 0.0 && scaled <= static_cast<double>(largest))) return false;
    field = static_cast<std::uint32_t>(scaled);
    return true;
}
