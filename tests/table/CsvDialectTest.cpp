#include "CsvDialect.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <utility>
#include <string>
#include <vector>

namespace {

// Hands the bytes over chunk bytes at a time, so that a line end may fall
// between two chunks.
class MemorySource : public csv::ByteSource {
public:
    MemorySource(std::string bytes, std::size_t chunk) : m_bytes(std::move(bytes)), m_chunk(chunk) {}
    std::string_view Peek() override { return std::string_view(m_bytes).substr(m_pos, m_chunk); }
    void Take(std::size_t count) override { m_pos += count; }

private:
    std::string m_bytes;
    std::size_t m_chunk;
    std::size_t m_pos = 0;
};

// Every line ReadCsvLine makes of the bytes, in order; the same whether the
// bytes come one, two or thousands at a time.
std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> byChunk[3];
    const std::size_t chunks[3] = {1, 2, 65536};
    for (int i = 0; i < 3; ++i) {
        MemorySource source(bytes, chunks[i]);
        std::string spill;
        std::string_view line;
        while (csv::ReadCsvLine(source, spill, line)) byChunk[i].emplace_back(line);
    }
    EXPECT_EQ(byChunk[0], byChunk[2]);
    EXPECT_EQ(byChunk[1], byChunk[2]);
    return byChunk[2];
}

std::string Escaped(std::string_view text, bool lineFeedAsBlank) {
    CRowText out;
    csv::AppendCsvText(out, text, lineFeedAsBlank);
    return std::string(out.View());
}

// The first count cells of a line.
std::vector<std::string> Cells(const std::string& line, const std::string& separator, int count) {
    std::string_view rest = line;
    std::vector<std::string> cells;
    std::string unquoted;
    for (int i = 0; i < count; ++i) cells.emplace_back(csv::TakeCsvCell(rest, separator, unquoted));
    return cells;
}

using Strings = std::vector<std::string>;

}  // namespace

TEST(CsvEscape, DoublesQuotesDropsCarriageReturnsAndKeepsOrBlanksLineFeeds) {
    EXPECT_EQ(Escaped("say \"hi\"", false), "say \"\"hi\"\"");
    EXPECT_EQ(Escaped("x\ny", false), "x\ny");
    EXPECT_EQ(Escaped("x\ny", true), "x y");
    EXPECT_EQ(Escaped("x\r\ny", false), "x\ny");
    EXPECT_EQ(Escaped("x\r\ny", true), "x y");
    EXPECT_EQ(Escaped("a\rb", true), "ab");
    // Separators are protected by the quotes alone; bytes above 0x7F pass.
    EXPECT_EQ(Escaped("1;2,3\t\x80", false), "1;2,3\t\x80");
    EXPECT_EQ(Escaped(std::string("ab\0cd", 5), false), "ab");
    EXPECT_EQ(Escaped("", true), "");
}

TEST(CsvLine, RowsEndAtCarriageReturnLineFeedOnly) {
    EXPECT_EQ(Lines(""), Strings{});
    EXPECT_EQ(Lines("a;b\r\n"), Strings{"a;b"});
    EXPECT_EQ(Lines("a\r\nb"), (Strings{"a", "b"}));  // a last line without CR LF
    EXPECT_EQ(Lines("\r\n\r\n"), (Strings{"", ""}));
    EXPECT_EQ(Lines("a\nb\rc\r\r\nd"), (Strings{"a\nb\rc\r", "d"}));
    EXPECT_EQ(Lines("\n\r"), Strings{"\n\r"});
}

TEST(CsvLine, AFileOfLineFeedsOnlyIsOneRowCutAfter9999Bytes) {
    std::string bytes;
    for (int i = 0; i < 4000; ++i) bytes += "ab\n";  // 12,000 bytes
    const auto lines = Lines(bytes);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], bytes.substr(0, 9999));
    EXPECT_EQ(lines[1], bytes.substr(9999));
}

TEST(CsvLine, LongLinesAreCutAfter9999BytesAroundTheLineEnd) {
    const std::string x9997(9997, 'x'), x9998(9998, 'x'), x9999(9999, 'x');
    // 9,997 bytes and CR LF fill the read exactly: the line arrives whole.
    EXPECT_EQ(Lines(x9997 + "\r\nz\r\n"), (Strings{x9997, "z"}));
    // The cut falls between CR and LF: the row keeps the CR, the next one
    // begins with the LF and runs on to the next line end.
    EXPECT_EQ(Lines(x9998 + "\r\nz\r\n"), (Strings{x9998 + "\r", "\nz"}));
    // The cut falls just before the CR: the next row is an empty one.
    EXPECT_EQ(Lines(x9999 + "\r\nz\r\n"), (Strings{x9999, "", "z"}));
    const std::string longer(25000, 'y');
    EXPECT_EQ(Lines(longer), (Strings{longer.substr(0, 9999), longer.substr(9999, 9999), longer.substr(19998)}));
}

TEST(CsvLine, AZeroByteEndsTheLinesTextButNotTheLine) {
    EXPECT_EQ(Lines(std::string("ab\0cd\r\nef\r\n", 11)), (Strings{"ab", "ef"}));
    EXPECT_EQ(Lines(std::string("\0\0\r\n", 4)), Strings{""});
    // Past the first eight bytes, with no line feed near it.
    EXPECT_EQ(Lines(std::string("0123456789\0abcdefghijklmnop\r\nq", 30)), (Strings{"0123456789", "q"}));
}

TEST(CsvCells, PlainAndQuotedCellsWithAOneCharacterSeparator) {
    EXPECT_EQ(Cells("a;b", ";", 4), (Strings{"a", "b", "", ""}));
    EXPECT_EQ(Cells("\"a\"\"b\"", ";", 2), (Strings{"a\"b", ""}));
    // A quote followed by anything but the separator or a second quote is kept
    // and the cell goes on, separators included, to the end of the line.
    EXPECT_EQ(Cells("\"a\"b;c", ";", 2), (Strings{"a\"b;c", ""}));
    EXPECT_EQ(Cells("\"x;\ny\";2", ";", 3), (Strings{"x;\ny", "2", ""}));
    EXPECT_EQ(Cells("\"\";\"\";z", ";", 3), (Strings{"", "", "z"}));
    EXPECT_EQ(Cells("\"a long note; \"\"quoted\"\" here\";x", ";", 2), (Strings{"a long note; \"quoted\" here", "x"}));
    // Quotes inside a plain cell are plain; blanks before a quote make it plain.
    EXPECT_EQ(Cells("a\"b\";c", ";", 2), (Strings{"a\"b\"", "c"}));
    EXPECT_EQ(Cells(" \"a\",b", ",", 2), (Strings{" \"a\"", "b"}));
    // Nothing is trimmed; an empty cell between separators is empty.
    EXPECT_EQ(Cells(" a ,,b", ",", 3), (Strings{" a ", "", "b"}));
    EXPECT_EQ(Cells("a,", ",", 2), (Strings{"a", ""}));
    // A quote that never closes takes the rest of the line.
    EXPECT_EQ(Cells("\"open,b", ",", 2), (Strings{"open,b", ""}));
    EXPECT_EQ(Cells("\"", ",", 1), Strings{""});
    EXPECT_EQ(Cells("\"\"\"", ",", 1), Strings{"\""});
}

TEST(CsvCells, ASeparatorOfOtherThanOneCharacterNeverSeparates) {
    EXPECT_EQ(Cells("\"a\", \"b\"", ", ", 2), (Strings{"a\", \"b", ""}));
    EXPECT_EQ(Cells("a;b", "", 2), (Strings{"a;b", ""}));
}

TEST(CsvNumbers, IntegersReadLikeAtoiButHeldAtTheEndsOfTheRange) {
    const std::pair<const char*, int> cases[] = {
        {"12", 12}, {"-3", -3}, {" \t+7kg", 7}, {"12,5", 12}, {"1e3", 1}, {"abc", 0}, {"- 5", 0}, {"", 0},
        {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"2147483648", INT_MAX}, {"-2147483649", INT_MIN},
        {"99999999999", INT_MAX}, {"-99999999999999999999999999", INT_MIN}, {"000000000000000000042", 42}};
    for (const auto& [text, value] : cases) EXPECT_EQ(csv::ParseCsvInt(text), value) << text;
}

TEST(CsvNumbers, NumbersReadLikeAtofWithADecimalPointOnly) {
    // "inf", "nan" and hexadecimal, which some C libraries' atof also take,
    // are no number cells here.
    const std::pair<const char*, double> cases[] = {
        {"12,5", 12.0}, {"abc", 0.0}, {"2.5", 2.5}, {"  -19.99 EUR", -19.99}, {"+.5", 0.5}, {"5.", 5.0},
        {"1.5e3", 1500.0}, {"1.5E-2x", 0.015}, {"7e", 7.0}, {"7e+", 7.0}, {".", 0.0}, {"-e5", 0.0},
        {"inf", 0.0}, {"nan", 0.0}, {"0x10", 0.0}, {"1e999", HUGE_VAL}, {"-1e999", -HUGE_VAL}, {"1e-999", 0.0}};
    for (const auto& [text, value] : cases) EXPECT_EQ(csv::ParseCsvDouble(text), value) << text;
}

TEST(CsvNumbers, TheImportsNumberCellsAreWholeDecimalNumbers) {
    double value = -1;
    EXPECT_EQ(csv::ParseNumberCell("", value), -2);
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(csv::ParseNumberCell("  \t", value), -2);
    for (const char* number : {"12", " 12.5 ", "-3", "+.5", "5.", "1e3", "2.5E-1"})
        EXPECT_EQ(csv::ParseNumberCell(number, value), 0) << number;
    csv::ParseNumberCell(" -12.25 ", value);
    EXPECT_EQ(value, -12.25);
    for (const char* text : {"12,5", "abc", "nan", "inf", "-inf", "0x10", "1e", ".", "-", "12 5", "1e999", "12abc"}) {
        EXPECT_EQ(csv::ParseNumberCell(text, value), -1) << text;
        EXPECT_EQ(value, 0.0) << text;
    }
}

TEST(CsvNumbers, TrimCutsWhiteSpaceAtBothEnds) {
    EXPECT_EQ(csv::TrimWhiteSpace(" \t1.2.2020\r\n "), "1.2.2020");
    EXPECT_EQ(csv::TrimWhiteSpace("   "), "");
    EXPECT_EQ(csv::TrimWhiteSpace("a b"), "a b");
}
