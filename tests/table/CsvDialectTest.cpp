#include "CsvDialect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

class MemorySource : public csv::ByteSource {
public:
    explicit MemorySource(std::string bytes) : m_bytes(std::move(bytes)) {}
    bool ReadByte(char& byte) override {
        if (m_pos == m_bytes.size()) return false;
        byte = m_bytes[m_pos++];
        return true;
    }

private:
    std::string m_bytes;
    std::size_t m_pos = 0;
};

// Every line ReadCsvLine makes of the bytes, in order.
std::vector<std::string> Lines(const std::string& bytes) {
    MemorySource source(bytes);
    std::vector<std::string> lines;
    std::string line;
    while (csv::ReadCsvLine(source, line)) lines.push_back(line);
    return lines;
}

// The first count cells of a line.
std::vector<std::string> Cells(const std::string& line, const std::string& separator, int count) {
    std::string_view rest = line;
    std::vector<std::string> cells;
    for (int i = 0; i < count; ++i) cells.push_back(csv::TakeCsvCell(rest, separator));
    return cells;
}

using Strings = std::vector<std::string>;

}  // namespace

TEST(CsvEscape, DoublesQuotesDropsCarriageReturnsAndKeepsOrBlanksLineFeeds) {
    EXPECT_EQ(csv::EscapeCsvText("say \"hi\"", false), "say \"\"hi\"\"");
    EXPECT_EQ(csv::EscapeCsvText("x\ny", false), "x\ny");
    EXPECT_EQ(csv::EscapeCsvText("x\ny", true), "x y");
    EXPECT_EQ(csv::EscapeCsvText("x\r\ny", false), "x\ny");
    EXPECT_EQ(csv::EscapeCsvText("x\r\ny", true), "x y");
    EXPECT_EQ(csv::EscapeCsvText("a\rb", true), "ab");
    // Separators are protected by the quotes alone; bytes above 0x7F pass.
    EXPECT_EQ(csv::EscapeCsvText("1;2,3\t\x80", false), "1;2,3\t\x80");
    EXPECT_EQ(csv::EscapeCsvText(std::string("ab\0cd", 5), false), "ab");
    EXPECT_EQ(csv::EscapeCsvText("", true), "");
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
}

TEST(CsvCells, PlainAndQuotedCellsWithAOneCharacterSeparator) {
    EXPECT_EQ(Cells("a;b", ";", 4), (Strings{"a", "b", "", ""}));
    EXPECT_EQ(Cells("\"a\"\"b\"", ";", 2), (Strings{"a\"b", ""}));
    // A quote followed by anything but the separator or a second quote is kept
    // and the cell goes on, separators included, to the end of the line.
    EXPECT_EQ(Cells("\"a\"b;c", ";", 2), (Strings{"a\"b;c", ""}));
    EXPECT_EQ(Cells("\"x;\ny\";2", ";", 3), (Strings{"x;\ny", "2", ""}));
    EXPECT_EQ(Cells("\"\";\"\";z", ";", 3), (Strings{"", "", "z"}));
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

TEST(CsvCells, WrittenCellsReadBackForAnyText) {
    // Cells as the writer joins them read back as written, CR dropped: checked
    // over random texts of quotes, separators, line ends and other bytes.
    std::mt19937 random(4);
    const char alphabet[] = {'"', ';', ',', '\n', '\r', 'a', ' ', '\x80', '\t'};
    for (int round = 0; round < 2000; ++round) {
        const std::string separator = round % 2 ? ";" : ",";
        std::vector<std::string> texts(1 + random() % 5);
        std::string line;
        for (auto& text : texts) {
            for (unsigned n = random() % 12; n > 0; --n) text += alphabet[random() % sizeof alphabet];
            if (&text != &texts.front()) line += separator;
            line += '"' + csv::EscapeCsvText(text, false) + '"';
        }
        const auto lines = Lines(line + "\r\n");
        ASSERT_EQ(lines.size(), 1u) << line;
        const auto cells = Cells(lines[0], separator, static_cast<int>(texts.size()) + 1);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            std::string expected = texts[i];
            expected.erase(std::remove(expected.begin(), expected.end(), '\r'), expected.end());
            ASSERT_EQ(cells[i], expected) << "line " << line;
        }
        ASSERT_EQ(cells.back(), "");
    }
}

TEST(CsvNumbers, IntegersReadLikeAtoiButHeldAtTheEndsOfTheRange) {
    EXPECT_EQ(csv::ParseCsvInt("12"), 12);
    EXPECT_EQ(csv::ParseCsvInt("-3"), -3);
    EXPECT_EQ(csv::ParseCsvInt(" \t+7kg"), 7);
    EXPECT_EQ(csv::ParseCsvInt("12,5"), 12);
    EXPECT_EQ(csv::ParseCsvInt("1e3"), 1);
    EXPECT_EQ(csv::ParseCsvInt("abc"), 0);
    EXPECT_EQ(csv::ParseCsvInt("- 5"), 0);
    EXPECT_EQ(csv::ParseCsvInt(""), 0);
    EXPECT_EQ(csv::ParseCsvInt("2147483647"), INT_MAX);
    EXPECT_EQ(csv::ParseCsvInt("-2147483648"), INT_MIN);
    EXPECT_EQ(csv::ParseCsvInt("2147483648"), INT_MAX);
    EXPECT_EQ(csv::ParseCsvInt("-2147483649"), INT_MIN);
    EXPECT_EQ(csv::ParseCsvInt("99999999999"), INT_MAX);
    EXPECT_EQ(csv::ParseCsvInt("-99999999999999999999999999"), INT_MIN);
    EXPECT_EQ(csv::ParseCsvInt("000000000000000000042"), 42);
}

TEST(CsvNumbers, NumbersReadLikeAtofWithADecimalPointOnly) {
    EXPECT_EQ(csv::ParseCsvDouble("12,5"), 12.0);
    EXPECT_EQ(csv::ParseCsvDouble("abc"), 0.0);
    EXPECT_EQ(csv::ParseCsvDouble("2.5"), 2.5);
    EXPECT_EQ(csv::ParseCsvDouble("  -19.99 EUR"), -19.99);
    EXPECT_EQ(csv::ParseCsvDouble("+.5"), 0.5);
    EXPECT_EQ(csv::ParseCsvDouble("5."), 5.0);
    EXPECT_EQ(csv::ParseCsvDouble("1.5e3"), 1500.0);
    EXPECT_EQ(csv::ParseCsvDouble("1.5E-2x"), 0.015);
    EXPECT_EQ(csv::ParseCsvDouble("7e"), 7.0);
    EXPECT_EQ(csv::ParseCsvDouble("7e+"), 7.0);
    EXPECT_EQ(csv::ParseCsvDouble("."), 0.0);
    EXPECT_EQ(csv::ParseCsvDouble("-e5"), 0.0);
    // What some C libraries' atof also take is not a number cell here.
    EXPECT_EQ(csv::ParseCsvDouble("inf"), 0.0);
    EXPECT_EQ(csv::ParseCsvDouble("nan"), 0.0);
    EXPECT_EQ(csv::ParseCsvDouble("0x10"), 0.0);
    EXPECT_EQ(csv::ParseCsvDouble("1e999"), HUGE_VAL);
    EXPECT_EQ(csv::ParseCsvDouble("-1e999"), -HUGE_VAL);
    EXPECT_EQ(csv::ParseCsvDouble("1e-999"), 0.0);
}

TEST(CsvNumbers, TrimCutsWhiteSpaceAtBothEnds) {
    EXPECT_EQ(csv::TrimWhiteSpace(" \t1.2.2020\r\n "), "1.2.2020");
    EXPECT_EQ(csv::TrimWhiteSpace("   "), "");
    EXPECT_EQ(csv::TrimWhiteSpace("a b"), "a b");
}
