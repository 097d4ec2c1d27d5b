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
    explicit MemorySource(std::string_view bytes) : m_bytes(bytes) {}
    __attribute__((no_sanitize("coverage"))) std::string_view Peek() override { return m_bytes.substr(m_pos); }
    __attribute__((no_sanitize("coverage"))) void Take(std::size_t count) override { m_pos += count; }
    std::size_t Position() const { return m_pos; }

private:
    std::string_view m_bytes;
    std::size_t m_pos = 0;
};

void Check(bool condition) {
    if (!condition) std::abort();
}

void ReadEveryCell(std::string_view bytes, std::string_view separator, std::string& spill) {
    MemorySource source(bytes);
    std::string unquoted;
    std::string_view line;
    while (csv::ReadCsvLine(source, spill, line)) {
        Check(line.size() <= csv::kMaxLineBytes);
        Check(line.find('\0') == std::string_view::npos);
        std::string_view rest = line;
        while (!rest.empty()) {
            const std::size_t before = rest.size();
            const std::string_view cell = csv::TakeCsvCell(rest, separator, unquoted);
            Check(rest.size() < before);
            Check(cell.size() <= before);
        }
        Check(csv::TakeCsvCell(rest, separator, unquoted).empty());
    }
    Check(source.Position() == bytes.size());
    csv::ParseCsvInt(bytes);
    csv::ParseCsvDouble(bytes);
}

// Whether a cell read back is the text as written: cut at its first zero
// byte, without carriage returns, line feeds made blanks when asked.
bool ReadsBackAs(std::string_view cell, std::string_view text, bool lineFeedAsBlank) {
    std::size_t at = 0;
    for (char c : text) {
        if (c == '\0') break;
        if (c == '\r') continue;
        if (at == cell.size() || cell[at++] != (lineFeedAsBlank && c == '\n' ? ' ' : c)) return false;
    }
    return at == cell.size();
}

// The harness's own buffers, kept from input to input: memory taken afresh
// for every input costs more than the dialect's work under the sanitizers.
struct Buffers {
    std::vector<std::string_view> texts;
    CRowText row;
    std::string line;
};

void WriteAndReadBack(std::string_view bytes, std::string_view separator, bool lineFeedAsBlank, Buffers& buffers) {
    std::vector<std::string_view>& texts = buffers.texts;
    texts.clear();
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '\x1f') {
            texts.push_back(bytes.substr(start, i - start));
            start = i + 1;
        }
    }
    CRowText& row = buffers.row;
    row.Clear();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) row.Append(separator);
        row.Append('"');
        csv::AppendCsvText(row, texts[i], lineFeedAsBlank);
        row.Append('"');
    }
    if (row.Size() + 2 > csv::kMaxLineBytes) return;  // would arrive cut
    row.Append("\r\n");
    MemorySource source(row.View());
    std::string_view line;
    Check(csv::ReadCsvLine(source, buffers.line, line));
    std::string_view rest = line;
    std::string unquoted;
    for (std::string_view text : texts)
        Check(ReadsBackAs(csv::TakeCsvCell(rest, separator, unquoted), text, lineFeedAsBlank));
    Check(rest.empty());
    Check(!csv::ReadCsvLine(source, buffers.line, line));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const std::string_view kSeparators[] = {",", ";", "\t", ", ", ""};
    static Buffers buffers;
    const std::string_view separator = kSeparators[data[0] % 5];
    const bool lineFeedAsBlank = (data[0] & 0x80) != 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    ReadEveryCell(bytes, separator, buffers.line);
    if (separator.size() == 1) WriteAndReadBack(bytes, separator, lineFeedAsBlank, buffers);
    return 0;
}
