// Fuzz target of the CSV dialect.  The first byte picks the separator and the
// line-feed flag; the rest is read as a CSV file (every line must fit the
// line buffer, hold no zero byte, and every cell read must make progress),
// and is also cut at 0x1F bytes into cell texts that are written as one row
// and must read back as written.
#include "CsvDialect.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The harness's own byte feed: left out of the coverage instrumentation,
// which would otherwise trace two comparisons for every byte the dialect
// reads and tell the fuzzer nothing about the dialect.
class MemorySource : public csv::ByteSource {
public:
    explicit MemorySource(const std::string& bytes) : m_bytes(bytes) {}
    __attribute__((no_sanitize("coverage"))) bool ReadByte(char& byte) override {
        if (m_pos == m_bytes.size()) return false;
        byte = m_bytes[m_pos++];
        return true;
    }
    std::size_t Position() const { return m_pos; }

private:
    const std::string& m_bytes;
    std::size_t m_pos = 0;
};

void Check(bool condition) {
    if (!condition) std::abort();
}

void ReadEveryCell(const std::string& bytes, const std::string& separator) {
    MemorySource source(bytes);
    std::string line;
    while (csv::ReadCsvLine(source, line)) {
        Check(line.size() <= csv::kMaxLineBytes);
        Check(line.find('\0') == std::string::npos);
        std::string_view rest = line;
        while (!rest.empty()) {
            const std::size_t before = rest.size();
            const std::string cell = csv::TakeCsvCell(rest, separator);
            Check(rest.size() < before);
            Check(cell.size() <= before);
        }
        Check(csv::TakeCsvCell(rest, separator).empty());
    }
    Check(source.Position() == bytes.size());
    csv::ParseCsvInt(bytes);
    csv::ParseCsvDouble(bytes);
}

void WriteAndReadBack(const std::string& bytes, const std::string& separator, bool lineFeedAsBlank) {
    std::vector<std::string> texts(1);
    for (char c : bytes) {
        if (c == '\x1f') texts.emplace_back();
        else texts.back() += c;
    }
    std::string row;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) row += separator;
        row += '"' + csv::EscapeCsvText(texts[i], lineFeedAsBlank) + '"';
    }
    if (row.size() + 2 > csv::kMaxLineBytes) return;  // would arrive cut
    row += "\r\n";
    MemorySource source(row);
    std::string line;
    Check(csv::ReadCsvLine(source, line));
    std::string_view rest = line;
    for (const std::string& text : texts) {
        std::string expected = text.substr(0, text.find('\0'));
        expected.erase(std::remove(expected.begin(), expected.end(), '\r'), expected.end());
        if (lineFeedAsBlank) std::replace(expected.begin(), expected.end(), '\n', ' ');
        Check(csv::TakeCsvCell(rest, separator) == expected);
    }
    Check(rest.empty());
    Check(!csv::ReadCsvLine(source, line));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const char* const kSeparators[] = {",", ";", "\t", ", ", ""};
    const std::string separator = kSeparators[data[0] % 5];
    const bool lineFeedAsBlank = (data[0] & 0x80) != 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    ReadEveryCell(bytes, separator);
    if (separator.size() == 1) WriteAndReadBack(bytes, separator, lineFeedAsBlank);
    return 0;
}
