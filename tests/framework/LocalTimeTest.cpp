#include "LocalTime.h"

#include <gtest/gtest.h>

TEST(LocalTime, EveryHandheldDayHasALocalMidnightAndBack) {
    // 1904 to 2031 is the handheld's whole range; before 1970 the C runtime
    // of Windows gives up, the seam must not.
    CalendarTime previous = 0;
    bool first = true;
    for (int year = 1904; year <= 2031; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= 31; ++day) {
                LocalTimeFields in{year, month, day, 0, 0, 0};
                CalendarTime t = FromLocalFields(in);
                LocalTimeFields out = ToLocalFields(t);
                if (out.month != month) continue;  // day 31 of a short month rolled over
                ASSERT_EQ(out.year, year);
                ASSERT_EQ(out.day, day) << year << "-" << month;
                // The day's first moment: midnight, or the end of a skip
                // where the clocks jump over midnight.
                ASSERT_NE(ToLocalFields(t - 1).day, day) << year << "-" << month << "-" << day;
                ASSERT_LT(out.hour, 2) << year << "-" << month << "-" << day;
                ASSERT_EQ(out.minute, 0);
                if (!first) {
                    ASSERT_GT(t, previous);
                }
                previous = t;
                first = false;
            }
}

TEST(LocalTime, OutOfRangeFieldsRollOverLikeACalendar) {
    LocalTimeFields dec{1903, 12, 1, 0, 0, 0};
    LocalTimeFields roll{1904, 0, 1, 0, 0, 0};
    EXPECT_EQ(FromLocalFields(roll), FromLocalFields(dec));
    LocalTimeFields feb{2004, 2, 29, 0, 0, 0};
    LocalTimeFields day0{2004, 3, 0, 0, 0, 0};
    EXPECT_EQ(FromLocalFields(day0), FromLocalFields(feb));
}

TEST(LocalTime, TimesBeyondTheRangeAreHeldAtItsEnds) {
    EXPECT_EQ(FromLocalFields({2100, 1, 1, 0, 0, 0}), INT32_MAX);
    EXPECT_EQ(FromLocalFields({1800, 1, 1, 0, 0, 0}), INT32_MIN);
}

TEST(LocalTime, KnownInstantsConvertByThePlainCalendar) {
    using localtime_detail::PlainFields;
    using localtime_detail::PlainSeconds;
    EXPECT_EQ(PlainSeconds({1970, 1, 1, 0, 0, 0}), 0);
    EXPECT_EQ(PlainSeconds({1904, 1, 1, 0, 0, 0}), -2082844800LL);
    LocalTimeFields f = PlainFields(-2082844800LL);
    EXPECT_EQ(f.year, 1904);
    EXPECT_EQ(f.month, 1);
    EXPECT_EQ(f.day, 1);
    f = PlainFields(951782400LL);  // 2000-02-29
    EXPECT_EQ(f.month, 2);
    EXPECT_EQ(f.day, 29);
}
