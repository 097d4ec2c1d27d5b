#include "DecimalText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

std::string LibraryFormat(double value, int decimals) {
    char format[8];
    std::snprintf(format, sizeof format, "%%.%df", decimals);
    const int length = std::snprintf(nullptr, 0, format, value);
    if (length <= 0) return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::snprintf(buffer.data(), buffer.size(), format, value);
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}
}  // namespace

void AppendFixed(CRowText& out, double value, int decimals) {
    if (decimals < 1 || decimals > 3 || !std::isfinite(value) || std::fabs(value) >= 1e15) {
        out.Append(LibraryFormat(value, decimals));
        return;
    }
    // |value| = mantissa * 2^(exponent - 53) exactly, mantissa below 2^53;
    // times 10^decimals it stays below 2^63, so the rounding is exact: to
    // the nearest unit, a tie to the even one, as printf rounds.
    // The bits of the double give both at once (the C library's frexp and
    // ldexp cost more than the rest of the spelling).
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const int biasedExponent = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    if (biasedExponent != 0) mantissa |= std::uint64_t{1} << 52;
    // Below 10^15 < 2^53 the mantissa is always shifted right.
    const int shift = 1075 - (biasedExponent != 0 ? biasedExponent : 1);
    static constexpr std::uint64_t kScales[] = {1, 10, 100, 1000};
    const std::uint64_t scaled = mantissa * kScales[decimals];
    std::uint64_t units = 0;  // a shift of 64 or more leaves less than half a unit
    if (shift < 64) {
        units = scaled >> shift;
        const std::uint64_t remainder = scaled & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        if (remainder > half || (remainder == half && (units & 1) != 0)) ++units;
    }

    // The units' digits from the last, the point after the decimals: only
    // divisions by the constant 10, which cost no division.
    char text[32];
    int at = sizeof text;
    for (int i = 0; i < decimals; ++i, units /= 10) text[--at] = static_cast<char>('0' + units % 10);
    text[--at] = '.';
    do {
        text[--at] = static_cast<char>('0' + units % 10);
        units /= 10;
    } while (units != 0);
    if (std::signbit(value)) text[--at] = '-';
    out.Append(std::string_view(text + at, sizeof text - static_cast<std::size_t>(at)));
}

std::optional<double> ParsePlainDecimal(std::string_view text) {
    // A number of at most 15 digits without exponent is a whole number below
    // 2^53 divided by a power of ten up to 10^22, both held exactly, and one
    // division rounds correctly: the very double strtod gives.
    const char* at = text.data();
    const char* const end = at + text.size();
    const bool negative = at < end && *at == '-';
    if (at < end && (*at == '-' || *at == '+')) ++at;
    const char* const first = at;
    const char* point = nullptr;
    std::uint64_t digits = 0;
    int significant = 0;  // digits from the first that is not 0 on
    for (; at < end; ++at) {
        const unsigned digit = static_cast<unsigned>(static_cast<unsigned char>(*at)) - '0';
        if (digit <= 9) {
            digits = digits * 10 + digit;
            significant += digits != 0;
            if (significant > 15) return std::nullopt;
        } else if (*at == '.' && point == nullptr) {
            point = at;
        } else {
            return std::nullopt;
        }
    }
    const auto decimals = point != nullptr ? static_cast<std::size_t>(end - point - 1) : 0;
    const bool anyDigit = static_cast<std::size_t>(end - first) > (point != nullptr ? 1u : 0u);
    if (!anyDigit || decimals > 22) return std::nullopt;
    // Below 10^15 the digits convert as a signed number, in one instruction.
    const double magnitude = static_cast<double>(static_cast<std::int64_t>(digits)) / kPowersOfTen[decimals];
    return negative ? -magnitude : magnitude;
}

double ParseDecimal(std::string_view text) {
    if (const std::optional<double> plain = ParsePlainDecimal(text)) return *plain;
    return std::strtod(std::string(text).c_str(), nullptr);
}
