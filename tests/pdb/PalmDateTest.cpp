#include "EuroCurrency.h"
#include "PalmDate.h"

#include <gtest/gtest.h>

namespace {
CalendarTime Day(int y, int m, int d) { return FromLocalFields({y, m, d, 0, 0, 0}); }
bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
}  // namespace

TEST(PalmDate, EveryHandheldDayUnpacksToLocalMidnightAndPacksBack) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int count = 0;
    for (int year = 1904; year <= 2031; ++year)
        for (int month = 1; month <= 12; ++month) {
            const int days = kDays[month - 1] + (month == 2 && IsLeap(year));
            for (int day = 1; day <= days; ++day) {
                const auto packed = static_cast<std::uint16_t>((year - 1904) * 512 + month * 32 + day);
                const CalendarTime t = UnpackPalmDate(packed);
                const LocalTimeFields f = ToLocalFields(t);
                ASSERT_EQ(f.year, year) << packed;
                ASSERT_EQ(f.month, month) << packed;
                ASSERT_EQ(f.day, day) << packed;
                // Midnight, or the day's first moment where a clock change skips it.
                ASSERT_LT(f.hour, 2) << year << "-" << month << "-" << day;
                ASSERT_EQ(PackPalmDate(t), packed);
                ++count;
            }
        }
    EXPECT_EQ(count, 46752);
}

TEST(PalmDate, KnownPackings) {
    EXPECT_EQ(PackPalmDate(Day(2031, 12, 31)), 0xFF9F);
    EXPECT_EQ(PackPalmDate(Day(2032, 1, 1)), 0x0021);  // the year wraps to 1904
    EXPECT_EQ(PackPalmDate(Day(1904, 1, 1)), 0x0021);
    EXPECT_EQ(PackPalmDate(Day(2004, 2, 29)), 0xC85D);
    // Any time of the day packs as that day.
    EXPECT_EQ(PackPalmDate(FromLocalFields({2004, 2, 29, 23, 59, 59})), 0xC85D);
}

TEST(PalmDate, ValuesThatNameNoDayAreHeldInsideTheirYear) {
    EXPECT_EQ(UnpackPalmDate(0x0000), Day(1904, 1, 1));
    EXPECT_EQ(UnpackPalmDate(0xFFFF), Day(2031, 12, 31));
    EXPECT_EQ(UnpackPalmDate((2001 - 1904) * 512 + 2 * 32 + 30), Day(2001, 2, 28));
    EXPECT_EQ(UnpackPalmDate((2004 - 1904) * 512 + 2 * 32 + 31), Day(2004, 2, 29));
    EXPECT_EQ(UnpackPalmDate((2004 - 1904) * 512 + 4 * 32 + 31), Day(2004, 4, 30));
    EXPECT_EQ(UnpackPalmDate((2004 - 1904) * 512 + 13 * 32 + 5), Day(2004, 12, 5));
    EXPECT_EQ(UnpackPalmDate((2004 - 1904) * 512 + 0 * 32 + 0), Day(2004, 1, 1));
}

TEST(EuroCurrency, TheTwelveCodesExactly) {
    for (const char* code : {"EUR", "BEF", "DEM", "ESP", "FRF", "IEP", "ITL", "LUF", "NLG", "ATS", "PTE", "FIM"})
        EXPECT_TRUE(IsEuroCurrency(code)) << code;
    for (const char* code : {"eur", "dem", "Eur", "USD", "GBP", "CHF", "", "EU", "EURO", " EUR"})
        EXPECT_FALSE(IsEuroCurrency(code)) << code;
}
