#include "CarRecord.h"

#include "ByteFields.h"
#include "PalmDate.h"

#include <cstring>

using namespace bytefields;

namespace {
// Layout of the record and of one item.
constexpr std::size_t kValueAt = 0;
constexpr std::size_t kUnitsAt = 4;
constexpr std::size_t kSymbolAt = 6;
constexpr std::size_t kCodeAt = 10;
constexpr std::size_t kUninterpretedAt = 14;
constexpr std::size_t kNameAt = 20;
constexpr std::size_t kItemCountAt = 42;
constexpr unsigned char kMilesBit = 0x80;
constexpr unsigned char kGallonsBit = 0x40;

constexpr std::size_t kItemDateAt = 2;
constexpr std::size_t kItemValuesAt = 4;
constexpr std::size_t kItemTextAt = 16;

CCarRecordItem ParseItem(const std::vector<unsigned char>& data, std::size_t at) {
    CCarRecordItem item;
    const std::uint8_t flags = data[at];
    item.flag7 = (flags & 0x80) != 0;
    item.flag6 = (flags & 0x40) != 0;
    item.flag5 = (flags & 0x20) != 0;
    item.flag4 = (flags & 0x10) != 0;
    item.date = UnpackPalmDate(U16At(data, at + kItemDateAt));
    item.value1 = U32At(data, at + kItemValuesAt);
    item.value2 = U32At(data, at + kItemValuesAt + 4);
    item.value3 = U32At(data, at + kItemValuesAt + 8);
    item.text = TextAt(data.data(), at + CCarRecordItem::kSize, at + kItemTextAt, CCarRecordItem::kTextSize - 1);
    return item;
}

void PackItem(const CCarRecordItem& item, unsigned char* p) {
    p[0] = static_cast<unsigned char>((item.flag7 ? 0x80 : 0) | (item.flag6 ? 0x40 : 0) |
                                      (item.flag5 ? 0x20 : 0) | (item.flag4 ? 0x10 : 0));
    p[1] = 0;
    PutU16(p + kItemDateAt, PackPalmDate(item.date));
    PutU32(p + kItemValuesAt, item.value1);
    PutU32(p + kItemValuesAt + 4, item.value2);
    PutU32(p + kItemValuesAt + 8, item.value3);
    PutText(p + kItemTextAt, CCarRecordItem::kTextSize, item.text);
}
}  // namespace

CCarRecord::CCarRecord(std::string name) : carName(std::move(name)) {}

int CCarRecord::ParseCarRecord(const CPalmRecord& record) {
    const std::vector<unsigned char>& data = record.GetData();
    carValue = U32At(data, kValueAt);
    miles = (ByteAt(data, kUnitsAt) & kMilesBit) != 0;
    gallons = (ByteAt(data, kUnitsAt) & kGallonsBit) != 0;
    currencySymbol = TextAt(data, kSymbolAt, kCurrencySize - 1);
    currencyCode = TextAt(data, kCodeAt, kCurrencySize - 1);
    for (std::size_t i = 0; i < uninterpreted.size(); ++i) uninterpreted[i] = ByteAt(data, kUninterpretedAt + i);
    carName = TextAt(data, kNameAt, kNameSize - 1);

    // A count running past the record's end gives only the items inside it.
    const std::size_t count = U16At(data, kItemCountAt);
    const std::size_t room = data.size() > kHeaderSize ? (data.size() - kHeaderSize) / CCarRecordItem::kSize : 0;
    items.clear();
    for (std::size_t i = 0; i < count && i < room; ++i)
        items.push_back(ParseItem(data, kHeaderSize + i * CCarRecordItem::kSize));
    return 0;
}

int CCarRecord::PackCarRecord(unsigned char* buffer, std::size_t capacity) const {
    if (capacity < kHeaderSize) return -1;
    std::size_t count = std::min(items.size(), (capacity - kHeaderSize) / CCarRecordItem::kSize);
    if (count > 0xFFFF) count = 0xFFFF;

    std::memset(buffer, 0, kHeaderSize);
    PutU32(buffer + kValueAt, carValue);
    buffer[kUnitsAt] = static_cast<unsigned char>((miles ? kMilesBit : 0) | (gallons ? kGallonsBit : 0));
    PutText(buffer + kSymbolAt, kCurrencySize, currencySymbol);
    PutText(buffer + kCodeAt, kCurrencySize, currencyCode);
    std::memcpy(buffer + kUninterpretedAt, uninterpreted.data(), uninterpreted.size());
    PutText(buffer + kNameAt, kNameSize, carName);
    PutU16(buffer + kItemCountAt, static_cast<std::uint16_t>(count));
    for (std::size_t i = 0; i < count; ++i) PackItem(items[i], buffer + kHeaderSize + i * CCarRecordItem::kSize);
    return static_cast<int>(kHeaderSize + count * CCarRecordItem::kSize);
}
