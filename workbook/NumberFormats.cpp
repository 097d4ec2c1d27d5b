#include "NumberFormats.h"

#include <cmath>

namespace workbook::formats {
namespace {

constexpr double kLastDay = 2958466;          // 10000-01-01 as an automation date
constexpr double kFirst1900Shift = 61;        // 1900-03-01: from here serial and automation date agree
constexpr double kDays1904 = 1462;            // 1904-01-01 as an automation date

bool IsCurrencySign(char16_t c) { return c == u'$' || c == u'\u20AC' || c == u'\u00A3' || c == u'\u00A5'; }

bool IsBuiltInDate(std::uint16_t index) {
    return (index >= 14 && index <= 22) || (index >= 27 && index <= 36) || (index >= 45 && index <= 47) ||
           (index >= 50 && index <= 58);
}

bool IsBuiltInCurrency(std::uint16_t index) { return (index >= 5 && index <= 8) || index == 42 || index == 44; }

CellKind KindOfPattern(const std::u16string& pattern) {
    bool money = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i];
        if (c == u'"') {  // literal text, which may be the currency
            for (++i; i < pattern.size() && pattern[i] != u'"'; ++i) money |= IsCurrencySign(pattern[i]);
        } else if (c == u'\\' || c == u'_' || c == u'*') {  // the next character is literal or padding
            if (++i < pattern.size()) money |= c == u'\\' && IsCurrencySign(pattern[i]);
        } else if (c == u'[') {  // colour, condition, elapsed time or [$sign-locale]
            const std::size_t end = pattern.find(u']', i);
            const std::u16string inside = pattern.substr(i + 1, end == std::u16string::npos ? end : end - i - 1);
            if (inside.size() > 1 && inside[0] == u'$' && inside[1] != u'-') money = true;
            const char16_t first = inside.empty() ? 0 : static_cast<char16_t>(inside[0] | 0x20);
            if (first == u'h' || first == u'm' || first == u's') {
                if (inside.find_first_not_of(inside[0]) == std::u16string::npos) return CellKind::Date;
            }
            if (end == std::u16string::npos) break;
            i = end;
        } else if (IsCurrencySign(c)) {
            money = true;
        } else {
            switch (c | 0x20) {
                case u'd': case u'm': case u'y': case u'h': case u's': return CellKind::Date;
                default: break;
            }
        }
    }
    return money ? CellKind::Money : CellKind::Number;
}

}  // namespace

CellKind KindOfFormat(std::uint16_t index, const std::u16string* pattern) {
    if (pattern) {
        const CellKind kind = KindOfPattern(*pattern);
        return kind == CellKind::Number && IsBuiltInCurrency(index) ? CellKind::Money : kind;
    }
    if (IsBuiltInDate(index)) return CellKind::Date;
    return IsBuiltInCurrency(index) ? CellKind::Money : CellKind::Number;
}

std::uint16_t DateFormatFor(double date) {
    const bool hasDay = date >= 1, hasTime = date != std::floor(date);
    return hasDay && hasTime ? kDateTime : hasDay ? kShortDate : kTime;
}

double SerialFromAutomationDate(double date) { return date >= 1 && date < kFirst1900Shift ? date - 1 : date; }

bool AutomationDateFromSerial(double serial, bool system1904, double& date) {
    if (!(serial >= 0)) return false;
    if (system1904) date = serial + kDays1904;
    else date = serial >= 1 && serial < kFirst1900Shift ? serial + 1 : serial;
    return date < kLastDay;
}

}  // namespace workbook::formats
