#include "CsvDialect.h"

#include "DecimalText.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <cmath>
#include <cstdlib>

namespace csv {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipWhiteSpace(std::string_view text, std::size_t i) {
    while (i < text.size() && IsWhiteSpace(text[i])) ++i;
    return i;
}

std::size_t SkipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i;
}

// The first byte of text from i on that is a or b, or text.size(); eight
// bytes at a time (finding line ends and quotes is the most of an import's
// work on its bytes).
std::size_t FindEitherByte(std::string_view text, std::size_t i, char a, char b) {
    static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "a word's first byte is its lowest");
    constexpr std::uint64_t kOnes = 0x0101010101010101, kHighBits = 0x8080808080808080;
    const std::uint64_t as = kOnes * static_cast<unsigned char>(a), bs = kOnes * static_cast<unsigned char>(b);
    // The high bit of each zero byte, and maybe of bytes above one (a
    // borrow): the lowest bit set is always a zero byte's.
    auto zeroBytes = [](std::uint64_t word) { return (word - kOnes) & ~word & kHighBits; };
    for (; i + sizeof(std::uint64_t) <= text.size(); i += sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, sizeof word);
        if (const std::uint64_t found = zeroBytes(word ^ as) | zeroBytes(word ^ bs))
            return i + static_cast<std::size_t>(__builtin_ctzll(found)) / 8;
    }
    while (i < text.size() && text[i] != a && text[i] != b) ++i;
    return i;
}
}  // namespace

void AppendCsvText(CRowText& out, std::string_view text, bool lineFeedAsBlank) {
    // Runs between the characters that change are appended whole.
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '"' && c != '\n' && c != '\r' && c != '\0') continue;
        out.Append(text.substr(runStart, i - runStart));
        if (c == '\0') return;
        if (c == '"') out.Append("\"\"");
        else if (c == '\n') out.Append(lineFeedAsBlank ? ' ' : '\n');
        runStart = i + 1;
    }
    out.Append(text.substr(runStart));
}

namespace {
// The line put together in line, a read at a time.
bool SpillCsvLine(ByteSource& source, std::string& line) {
    line.clear();
    // Taken a chunk at a time, up to the first LF after a CR (the CR may
    // end the chunk before) or kMaxLineBytes bytes.
    bool rowEnded = false;
    std::size_t zero = std::string::npos;  // the first zero byte of the line
    while (!rowEnded && line.size() < kMaxLineBytes) {
        std::string_view chunk = source.Peek();
        if (chunk.empty()) break;
        chunk = chunk.substr(0, kMaxLineBytes - line.size());
        std::size_t take = chunk.size();
        for (std::size_t i = FindEitherByte(chunk, 0, '\n', '\0'); i < chunk.size();
             i = FindEitherByte(chunk, i + 1, '\n', '\0')) {
            if (chunk[i] == '\0') {
                if (zero == std::string::npos) zero = line.size() + i;
                continue;
            }
            const bool afterCr = i > 0 ? chunk[i - 1] == '\r' : !line.empty() && line.back() == '\r';
            if (afterCr) {
                take = i + 1;
                rowEnded = true;
                break;
            }
        }
        line.append(chunk.data(), take);
        source.Take(take);
    }
    if (line.empty()) return false;
    if (line.size() >= 2 && line[line.size() - 2] == '\r' && line.back() == '\n') line.resize(line.size() - 2);
    if (zero < line.size()) line.resize(zero);
    return true;
}
}  // namespace

bool ReadCsvLine(ByteSource& source, std::string& spill, std::string_view& line) {
    // Mostly the read-ahead holds the whole line: it is seen there, not
    // copied.  A zero byte, a line across reads or one cut at the longest
    // are put together in spill.
    const std::string_view ahead = source.Peek().substr(0, kMaxLineBytes);
    for (std::size_t i = FindEitherByte(ahead, 0, '\n', '\0'); i < ahead.size() && ahead[i] == '\n';
         i = FindEitherByte(ahead, i + 1, '\n', '\0')) {
        if (i > 0 && ahead[i - 1] == '\r') {
            source.Take(i + 1);
            line = ahead.substr(0, i - 1);
            return true;
        }
    }
    if (!SpillCsvLine(source, spill)) return false;
    line = spill;
    return true;
}

std::string_view TakeCsvCell(std::string_view& rest, std::string_view separator, std::string& unquoted) {
    if (rest.empty()) return {};
    // Only a one-character separator can ever equal the one character read.
    const bool canSeparate = separator.size() == 1;
    const char sep = canSeparate ? separator[0] : '\0';
    auto isSeparator = [&](char c) { return canSeparate && c == sep; };

    std::size_t i = 0;
    if (rest[0] != '"') {
        i = canSeparate ? FindEitherByte(rest, 0, sep, sep) : rest.size();
        const std::string_view cell = rest.substr(0, i);
        rest.remove_prefix(i < rest.size() ? i + 1 : i);
        return cell;
    }
    // A quoted cell's text stays a view of its first run while no quote is
    // kept inside it; a kept quote puts the runs together in unquoted.
    std::string_view text;
    bool joined = false;
    i = 1;
    while (i < rest.size()) {
        // The text up to the next quote goes over whole.
        const std::size_t quote = FindEitherByte(rest, i, '"', '"');
        const std::string_view run = rest.substr(i, quote - i);
        if (joined)
            unquoted.append(run);
        else
            text = run;
        i = quote + 1;
        if (i >= rest.size()) {
            i = rest.size();
            break;
        }
        if (isSeparator(rest[i])) {
            ++i;
            break;
        }
        if (rest[i] == '"') ++i;
        if (!joined) unquoted.assign(text);
        joined = true;
        unquoted += '"';
    }
    rest.remove_prefix(i);
    return joined ? std::string_view(unquoted) : text;
}

int ParseCsvInt(std::string_view text) {
    std::size_t i = SkipWhiteSpace(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Accumulated as a negative number, whose range reaches INT_MIN.
    long long value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 - (text[i] - '0');
        if (value < INT_MIN) return negative ? INT_MIN : INT_MAX;
    }
    if (negative) return static_cast<int>(value);
    return value < -INT_MAX ? INT_MAX : static_cast<int>(-value);
}

namespace {
// Where the decimal number that begins at begin ends: optional sign, digits
// with an optional "." (at least one digit in all), optional exponent that
// counts only with digits.  begin itself when there is no number there.
std::size_t DecimalNumberEnd(std::string_view text, std::size_t begin) {
    std::size_t i = begin;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t integerEnd = SkipDigits(text, i);
    std::size_t end = integerEnd;
    bool digits = integerEnd > i;
    if (end < text.size() && text[end] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, end + 1);
        digits = digits || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!digits) return begin;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t e = end + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        const std::size_t exponentEnd = SkipDigits(text, e);
        if (exponentEnd > e) end = exponentEnd;
    }
    return end;
}
}  // namespace

double ParseCsvDouble(std::string_view text) {
    const std::size_t begin = SkipWhiteSpace(text, 0);
    const std::size_t end = DecimalNumberEnd(text, begin);
    if (end == begin) return 0.0;
    // Only the decimal number itself is read, so what strtod would also
    // accept ("inf", hexadecimal) never gets there.
    return ParseDecimal(text.substr(begin, end - begin));
}

int ParseNumberCell(std::string_view text, double& value) {
    value = 0.0;
    const std::string_view trimmed = TrimWhiteSpace(text);
    if (trimmed.empty()) return -2;
    // Mostly a plain number, read in one pass.
    if (const std::optional<double> plain = ParsePlainDecimal(trimmed)) {
        value = *plain;
        return 0;
    }
    // An exponent without digits is not part of the number, so "1e" is no
    // whole number either.
    if (DecimalNumberEnd(trimmed, 0) != trimmed.size()) return -1;
    const double number = ParseDecimal(trimmed);
    if (!std::isfinite(number)) return -1;
    value = number;
    return 0;
}

}  // namespace csv
