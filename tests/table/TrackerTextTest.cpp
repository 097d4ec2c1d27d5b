#include "TrackerText.h"

#include <gtest/gtest.h>

using namespace tracker;

TEST(TrackerText, Windows1252BecomesUtf8ByteForByte) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"\x80 \x9F", "\xE2\x82\xAC \xC5\xB8"},                  // euro sign, Y with diaeresis: 3 and 2 bytes
        {"Stra\xDF" "e \xE9t\xE9", "Stra\xC3\x9F" "e \xC3\xA9t\xC3\xA9"},  // Latin-1 half
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},  // unassigned: kept
    };
    for (const auto& c : cases) EXPECT_EQ(Windows1252ToUtf8(c.in), c.out) << c.in;
}

TEST(TrackerText, CellsAreQuotedOnlyWhereTheyMustBe) {
    EXPECT_EQ(CsvCell("plain; text"), "plain; text");
    EXPECT_EQ(CsvCell("lf\nonly"), "\"lf\nonly\"");  // commas, quotes, CR LF: in the export's files
}

TEST(TrackerText, DecimalsKeepEveryStoredPlace) {
    EXPECT_EQ(FixedDecimal(-1999, 2, false), "-19.99");
    EXPECT_EQ(FixedDecimal(5, 2, false), "0.05");
    EXPECT_EQ(FixedDecimal(45123, 3, true), "45,123");
    EXPECT_EQ(FixedDecimal(123456, 1, false), "12345.6");
    EXPECT_EQ(FixedDecimal(2147483647, 3, false), "2147483.647");
    EXPECT_EQ(Quotient3(1999, 4523, false), "0.442");   // 0.44196
    EXPECT_EQ(Quotient3(1, 2000, false), "0.001");      // half a thousandth rounds up
}
