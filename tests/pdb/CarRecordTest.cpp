#include "CarRecord.h"
#include "TestBytes.h"

#include <gtest/gtest.h>

namespace {
CalendarTime Day(int y, int m, int d) { return FromLocalFields({y, m, d, 0, 0, 0}); }

CPalmRecord RecordOf(const ByteVector& bytes) {
    CPalmRecord r;
    r.SetData(bytes.data(), bytes.size());
    return r;
}

ByteVector Packed(const CCarRecord& car, std::size_t capacity = 10000) {
    ByteVector buffer(capacity + 16, 0xEE);  // guard bytes behind the capacity
    const int length = car.PackCarRecord(buffer.data(), capacity);
    for (std::size_t i = capacity; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], 0xEE) << "written past the buffer";
    if (length < 0) return {};
    buffer.resize(static_cast<std::size_t>(length));
    return buffer;
}

// A car in miles and gallons with one item, laid out by hand.
const ByteVector kVan = Bytes()
                            .u32(0x01020304).u8(0xC0).u8(0).text("$", 4).text("USD", 4)
                            .u8(1).u8(2).u8(3).u8(4).u8(5).u8(6).text("Blue Van", 22).u16(1)
                            .u8(0x90).u8(0).u16(0xC85D).u32(1).u32(2).u32(3).text("tyres", 42);
}  // namespace

TEST(CarRecord, ParsesAndPacksTheHandLaidLayout) {
    CCarRecord car;
    EXPECT_EQ(car.ParseCarRecord(RecordOf(kVan)), 0);
    EXPECT_EQ(car.carValue, 0x01020304u);
    EXPECT_TRUE(car.miles && car.gallons);
    EXPECT_EQ(car.currencySymbol + car.currencyCode + car.carName, "$USDBlue Van");
    ASSERT_EQ(car.items.size(), 1u);
    const CCarRecordItem& item = car.items[0];
    EXPECT_TRUE(item.flag7 && !item.flag6 && !item.flag5 && item.flag4);
    EXPECT_EQ(item.date, Day(2004, 2, 29));
    EXPECT_EQ(item.value1 * 100 + item.value2 * 10 + item.value3, 123u);
    EXPECT_EQ(item.text, "tyres");
    // Bytes 14-19 travel with the record.
    EXPECT_EQ(Packed(car), kVan);
    EXPECT_EQ(kVan.size(), 44u + 58u);
}

TEST(CarRecord, NewCarIsKilometresLitresAndZeroUninterpretedBytes) {
    CCarRecord car("Van");
    car.items.resize(3);
    const ByteVector bytes = Packed(car);
    ASSERT_EQ(bytes.size(), 218u);
    EXPECT_EQ(ByteVector(bytes.begin(), bytes.begin() + 44),
              Bytes().u32(0xFEFEFEFE).u8(0).u8(0).zeros(4).zeros(4).zeros(6).text("Van", 22).u16(3).get());
    EXPECT_EQ(Packed(CCarRecord()).size(), 44u);

    CCarRecord parsed("old name");
    parsed.items.resize(2);
    parsed.ParseCarRecord(RecordOf(bytes));
    EXPECT_EQ(parsed.items.size(), 3u);  // emptied first
    EXPECT_EQ(parsed.carName, "Van");
}

TEST(CarRecord, LongTextsAreCutToTheirFields) {
    CCarRecord car(std::string(30, 'n'));
    car.currencySymbol = "ABCD";
    car.currencyCode = "EURO";
    car.items.resize(1);
    car.items[0].text = std::string(50, 't');
    const ByteVector bytes = Packed(car);
    ASSERT_EQ(bytes.size(), 102u);
    for (std::size_t end : {9, 13, 41, 101}) EXPECT_EQ(bytes[end], 0) << end;
    CCarRecord back;
    back.ParseCarRecord(RecordOf(bytes));
    EXPECT_EQ(back.carName, std::string(21, 'n'));
    EXPECT_EQ(back.currencySymbol, "ABC");
    EXPECT_EQ(back.currencyCode, "EUR");
    EXPECT_EQ(back.items[0].text, std::string(41, 't'));
}

TEST(CarRecord, PackingStaysInsideTheBuffer) {
    CCarRecord car("Van");
    car.items.resize(3);
    EXPECT_TRUE(Packed(car, 43).empty());
    const ByteVector two = Packed(car, 44 + 2 * 58 + 57);
    ASSERT_EQ(two.size(), 44u + 2 * 58);
    EXPECT_EQ(two[42], 0);
    EXPECT_EQ(two[43], 2);  // the count names the items written
}

TEST(CarRecord, ShortOrBrokenRecordsParseToDefinedFields) {
    CCarRecord car("x");
    car.ParseCarRecord(CPalmRecord());
    EXPECT_EQ(car.carValue, 0u);
    EXPECT_EQ(car.carName, "");
    EXPECT_TRUE(car.items.empty());

    // Name without NUL cut off by the record's end.
    car.ParseCarRecord(RecordOf(Bytes().u32(1).u8(0x80).u8(0).text("EUR", 4).text("\x80", 4).zeros(6).u8('A').u8('b')));
    EXPECT_TRUE(car.miles);
    EXPECT_FALSE(car.gallons);
    EXPECT_EQ(car.carName, "Ab");

    // Symbol filling its field without NUL, name filling its field.
    car.ParseCarRecord(RecordOf(Bytes().zeros(6).u32(0x41424344).zeros(10).text(std::string(22, 'z'), 22).u16(0)));
    EXPECT_EQ(car.currencySymbol, "ABC");
    EXPECT_EQ(car.carName, std::string(21, 'z'));

    // A count of 500 with one whole item and half of another.
    ByteVector many(kVan);
    many[42] = 0x01;
    many[43] = 0xF4;
    many.insert(many.end(), 29, 0x77);
    car.ParseCarRecord(RecordOf(many));
    ASSERT_EQ(car.items.size(), 1u);
    EXPECT_EQ(car.items[0].text, "tyres");

    // An item text without NUL ends at its slot.
    ByteVector noNul(kVan);
    std::fill(noNul.begin() + 60, noNul.end(), 'q');
    car.ParseCarRecord(RecordOf(noNul));
    EXPECT_EQ(car.items[0].text, std::string(41, 'q'));
}
