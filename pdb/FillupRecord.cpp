#include "FillupRecord.h"

#include "ByteFields.h"
#include "PalmDate.h"
#include "ShortCopy.h"

using namespace bytefields;

namespace {
constexpr std::size_t kDateAt = 0;
constexpr std::size_t kFlagsAt = 2;
constexpr std::size_t kMileageAt = 4;
constexpr std::size_t kPriceAt = 8;
constexpr std::size_t kAmountAt = 12;  // or end date and interval of a recurring cost
constexpr std::size_t kIntervalAt = 14;
constexpr std::size_t kNoteAt = 16;
constexpr unsigned char kRecurringBit = 0x80;
constexpr unsigned char kPartialBit = 0x40;
constexpr unsigned char kMissingBit = 0x20;
constexpr unsigned char kNegativeBit = 0x10;
}  // namespace

int CFillupRecord::ParseFillupRecord(const CPalmRecord& record) {
    ParseFillupRecord(record.GetData().data(), record.GetData().size());
    categoryName = record.GetCategoryName();
    return 0;
}

int CFillupRecord::ParseFillupRecord(const unsigned char* data, std::size_t size) {
    date = UnpackPalmDate(U16At(data, size, kDateAt));
    const std::uint8_t flags = ByteAt(data, size, kFlagsAt);
    recurring = (flags & kRecurringBit) != 0;
    partial = (flags & kPartialBit) != 0;
    missing = (flags & kMissingBit) != 0;
    priceNegative = (flags & kNegativeBit) != 0;
    mileage = U32At(data, size, kMileageAt);
    price = U32At(data, size, kPriceAt) & kPriceMask;
    if (recurring) {
        const std::uint16_t endDate = U16At(data, size, kAmountAt);
        recurringEndDate = endDate == kNoDate ? std::nullopt : std::optional<CalendarTime>(UnpackPalmDate(endDate));
        recurringInterval = U16At(data, size, kIntervalAt);
    } else {
        fillAmount = U32At(data, size, kAmountAt);
    }
    note.assign(TextViewAt(data, size, kNoteAt, size));  // into the memory it has
    return 0;
}

int CFillupRecord::PackFillupRecord(unsigned char* buffer, std::size_t capacity) const {
    if (capacity < kFixedSize + 1) return -1;
    PutU16(buffer + kDateAt, PackPalmDate(date));
    buffer[kFlagsAt] = static_cast<unsigned char>((recurring ? kRecurringBit : 0) | (partial ? kPartialBit : 0) |
                                                  (missing ? kMissingBit : 0) | (priceNegative ? kNegativeBit : 0));
    buffer[kFlagsAt + 1] = 0;
    PutU32(buffer + kMileageAt, mileage);
    PutU32(buffer + kPriceAt, price);
    if (recurring) {
        PutU16(buffer + kAmountAt, recurringEndDate ? PackPalmDate(*recurringEndDate) : kNoDate);
        PutU16(buffer + kIntervalAt, recurringInterval);
    } else {
        PutU32(buffer + kAmountAt, fillAmount);
    }
    const std::size_t noteLength = TextLength(note, capacity - kFixedSize - 1);
    CopyBytes(buffer + kNoteAt, note.data(), noteLength);
    buffer[kNoteAt + noteLength] = 0;
    return static_cast<int>(kFixedSize + noteLength + 1);
}
