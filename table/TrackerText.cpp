#include "TrackerText.h"

namespace tracker {

namespace {
// Code points of Windows-1252's bytes 0x80 to 0x9F; 0 where it assigns none.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}
}  // namespace

std::string Windows1252ToUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        char32_t code = byte;
        if (byte >= 0x80 && byte <= 0x9F && kHighControls[byte - 0x80] != 0) code = kHighControls[byte - 0x80];
        AppendUtf8(out, code);
    }
    return out;
}

std::string CsvCell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string FixedDecimal(std::int64_t units, int places, bool decimalComma) {
    std::int64_t scale = 1;
    for (int i = 0; i < places; ++i) scale *= 10;
    const bool negative = units < 0;
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
    std::string out = negative ? "-" : "";
    out += std::to_string(magnitude / static_cast<std::uint64_t>(scale));
    if (places > 0) {
        std::string fraction = std::to_string(magnitude % static_cast<std::uint64_t>(scale));
        out += decimalComma ? ',' : '.';
        out += std::string(static_cast<std::size_t>(places) - fraction.size(), '0') + fraction;
    }
    return out;
}

std::string Quotient3(std::int64_t numerator, std::int64_t denominator, bool decimalComma) {
    const bool negative = numerator < 0;
    const std::int64_t magnitude = negative ? -numerator : numerator;
    const std::int64_t thousandths = (magnitude * 2000 + denominator) / (2 * denominator);
    return FixedDecimal(negative ? -thousandths : thousandths, 3, decimalComma);
}

}  // namespace tracker
