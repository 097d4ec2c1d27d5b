#include "FillupRecord.h"
#include "TestBytes.h"

#include <optional>

#include <gtest/gtest.h>

namespace {
CalendarTime Day(int y, int m, int d) { return FromLocalFields({y, m, d, 0, 0, 0}); }

CPalmRecord RecordOf(const ByteVector& bytes, const std::string& category = {}) {
    CPalmRecord r;
    r.SetData(bytes.data(), bytes.size());
    r.SetCategoryName(category);
    return r;
}

ByteVector Packed(const CFillupRecord& f, std::size_t capacity = 10000) {
    ByteVector buffer(capacity + 16, 0xEE);
    const int length = f.PackFillupRecord(buffer.data(), capacity);
    for (std::size_t i = capacity; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], 0xEE) << "written past the buffer";
    if (length < 0) return {};
    buffer.resize(static_cast<std::size_t>(length));
    return buffer;
}
}  // namespace

TEST(FillupRecord, FillupPacksByTheLayout) {
    CFillupRecord f;
    f.date = Day(2031, 12, 31);
    f.partial = true;
    f.priceNegative = true;
    f.mileage = 123456;
    f.price = 0xF0000123;  // all 32 bits as held
    f.fillAmount = 0x80000457;
    f.recurringInterval = 9;  // not part of a fill-up's bytes
    f.note = "hello";
    EXPECT_EQ(Packed(f), Bytes().u16(0xFF9F).u8(0x50).u8(0).u32(123456).u32(0xF0000123).u32(0x80000457)
                             .text("hello", 6).get());
    f.note.clear();
    EXPECT_EQ(Packed(f).size(), 17u);
}

TEST(FillupRecord, RecurringCostPacksEndDateAndInterval) {
    CFillupRecord f;
    f.date = Day(2004, 2, 29);
    f.recurring = true;
    f.missing = true;
    f.fillAmount = 0x12345678;  // not part of a recurring cost's bytes
    f.recurringEndDate = Day(2005, 1, 1);
    f.recurringInterval = 0xFFFF;
    EXPECT_EQ(Packed(f), Bytes().u16(0xC85D).u8(0xA0).u8(0).u32(0).u32(0).u16(0xCA21).u16(0xFFFF).u8(0).get());
}

TEST(FillupRecord, ParsesFlagsMaskedPriceAndTheAmountOrTheRecurrence) {
    CFillupRecord f;
    f.fillAmount = 77;
    f.ParseFillupRecord(RecordOf(Bytes().u16(0xC85D).u8(0xF0).u8(0xFF).u32(5).u32(0xF0000123).u16(0xCA21)
                                     .u16(12).text("oil", 4), "Service"));
    EXPECT_EQ(f.date, Day(2004, 2, 29));
    EXPECT_TRUE(f.recurring && f.partial && f.missing && f.priceNegative);
    EXPECT_EQ(f.mileage, 5u);
    EXPECT_EQ(f.price, 291u);
    EXPECT_EQ(f.recurringEndDate, Day(2005, 1, 1));
    EXPECT_EQ(f.recurringInterval, 12);
    EXPECT_EQ(f.fillAmount, 77u);  // bytes 12-15 are no amount here
    EXPECT_EQ(f.note, "oil");
    EXPECT_EQ(f.categoryName, "Service");

    for (std::uint32_t amount : {0x80000457u, 0x00000457u}) {
        f.ParseFillupRecord(RecordOf(Bytes().u16(0xC85D).u8(0x00).u8(0).u32(5).u32(1).u32(amount).u8(0)));
        EXPECT_FALSE(f.recurring || f.partial || f.missing || f.priceNegative);
        EXPECT_EQ(f.fillAmount, amount);
        EXPECT_EQ(f.recurringInterval, 12);  // left as it was
        EXPECT_EQ(f.categoryName, "");
    }
}

TEST(FillupRecord, ShortRecordsAndNotesWithoutNulStayInsideTheRecord) {
    CFillupRecord f;
    f.note = "old";
    f.ParseFillupRecord(RecordOf({0xC8, 0x5D, 0x40}));
    EXPECT_TRUE(f.partial);
    EXPECT_EQ(f.mileage, 0u);
    EXPECT_EQ(f.fillAmount, 0u);
    EXPECT_EQ(f.note, "");

    f.ParseFillupRecord(RecordOf(Bytes().zeros(16).u8('a').u8('b').u8('c')));
    EXPECT_EQ(f.note, "abc");
}

TEST(FillupRecord, NoteIsCutSoTheRecordFitsTheBuffer) {
    CFillupRecord f;
    f.note = std::string(20000, 'x');
    const ByteVector bytes = Packed(f);
    ASSERT_EQ(bytes.size(), 10000u);
    EXPECT_EQ(bytes.back(), 0);
    CFillupRecord back;
    back.ParseFillupRecord(RecordOf(bytes));
    EXPECT_EQ(back.note, std::string(10000 - 17, 'x'));

    EXPECT_EQ(Packed(f, 17).size(), 17u);
    EXPECT_TRUE(Packed(f, 16).empty());
}

TEST(FillupRecord, NoEndDateStaysApartFromEveryRealDate) {
    // 0xFFFF is the handheld's "no date"; 0xFF9F, the last real day, and the
    // neighbours of 0xFFFF that name no day keep their dates.
    const struct {
        std::uint16_t packed;
        std::optional<CalendarTime> endDate;
    } cases[] = {{0xFFFF, std::nullopt}, {0xFF9F, Day(2031, 12, 31)}, {0xFFFE, Day(2031, 12, 30)},
                 {0x0000, Day(1904, 1, 1)}};
    for (const auto& c : cases) {
        const ByteVector bytes = Bytes().u16(0xC85D).u8(0x80).u8(0).u32(0).u32(0).u16(c.packed).u16(3).u8(0);
        CFillupRecord f;
        f.ParseFillupRecord(RecordOf(bytes));
        EXPECT_EQ(f.recurringEndDate, c.endDate) << std::hex << c.packed;
        if (c.packed == 0xFFFF || c.packed == 0xFF9F) {
            EXPECT_EQ(Packed(f), bytes) << std::hex << c.packed;
        }
    }
}
