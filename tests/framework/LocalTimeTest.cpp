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

#ifdef _WIN32
namespace {
bool SameFields(const LocalTimeFields& a, const LocalTimeFields& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
           a.second == b.second;
}
}  // namespace

// The offsets remembered per month give what the system gives, both ways:
// densely over a few years (every change of the clocks, by the second
// around it), sparsely over the handheld's whole range, and at every day's
// first hours, where a zone may skip midnight.
TEST(LocalTime, RememberedOffsetsAgreeWithTheSystem) {
    using localtime_detail::PlainSeconds;
    const std::int64_t dense[2] = {PlainSeconds({2004, 1, 1, 0, 0, 0}), PlainSeconds({2009, 1, 1, 0, 0, 0})};
    const std::int64_t whole[2] = {PlainSeconds({1904, 1, 1, 0, 0, 0}), PlainSeconds({2031, 12, 31, 0, 0, 0})};
    auto agreesAt = [](std::int64_t seconds) {
        const auto t = static_cast<CalendarTime>(seconds);
        const LocalTimeFields local = ToLocalFields(t);
        return SameFields(local, localtime_detail::SystemLocalFields(t)) &&
               FromLocalFields(local) == localtime_detail::SystemCalendarTime(local);
    };
    auto systemOffset = [](std::int64_t t) {
        return PlainSeconds(localtime_detail::SystemLocalFields(static_cast<CalendarTime>(t))) - t;
    };
    constexpr int kStride = 601;
    for (std::int64_t t = dense[0]; t < dense[1]; t += kStride) {
        ASSERT_TRUE(agreesAt(t)) << t;
        if (systemOffset(t) != systemOffset(t - kStride))
            for (std::int64_t s = t - kStride; s < t; ++s) ASSERT_TRUE(agreesAt(s)) << s;
    }
    for (std::int64_t t = whole[0]; t < whole[1]; t += 7 * 3600 + 13 * 60) ASSERT_TRUE(agreesAt(t)) << t;
    for (int year = 1904; year <= 2031; ++year)
        for (int day = 1; day <= 366; ++day)
            for (int minute : {0, 30, 60, 90}) {
                const LocalTimeFields local{year, 1, day, 0, minute, 0};
                const CalendarTime t = FromLocalFields(local);
                ASSERT_EQ(t, localtime_detail::SystemCalendarTime(local)) << year << " " << day;
                ASSERT_TRUE(SameFields(ToLocalFields(t), localtime_detail::SystemLocalFields(t))) << t;
            }
}
#endif
