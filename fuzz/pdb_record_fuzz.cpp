// Fuzz target of the car and fill-up record layouts.  The first two bytes
// give the capacity of the packing buffer, the rest is the record's data.
// Parsing must stay inside the record, packing inside the buffer, and a
// packed record must parse and pack again to the same bytes.
#include "CarRecord.h"
#include "FillupRecord.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {
void Check(bool condition) {
    if (!condition) std::abort();
}

CPalmRecord RecordOf(const unsigned char* data, std::size_t size) {
    CPalmRecord record;
    record.SetData(data, size);
    return record;
}

template <typename Pack>
std::vector<unsigned char> Packed(std::size_t capacity, Pack pack) {
    std::vector<unsigned char> buffer(capacity);  // exactly the capacity: overruns show
    const int length = pack(buffer.data(), capacity);
    Check(length <= static_cast<int>(capacity));
    buffer.resize(length < 0 ? 0 : static_cast<std::size_t>(length));
    return buffer;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t capacity = (data[0] << 8 | data[1]) % 10001;
    const CPalmRecord record = RecordOf(data + 2, size - 2);

    CCarRecord car;
    car.ParseCarRecord(record);
    const auto car1 = Packed(capacity, [&](unsigned char* b, std::size_t c) { return car.PackCarRecord(b, c); });
    CCarRecord car2;
    car2.ParseCarRecord(RecordOf(car1.data(), car1.size()));
    if (!car1.empty())
        Check(Packed(capacity, [&](unsigned char* b, std::size_t c) { return car2.PackCarRecord(b, c); }) == car1);

    CFillupRecord fillup;
    fillup.ParseFillupRecord(record);
    const auto fill1 =
        Packed(capacity, [&](unsigned char* b, std::size_t c) { return fillup.PackFillupRecord(b, c); });
    CFillupRecord fillup2;
    fillup2.ParseFillupRecord(RecordOf(fill1.data(), fill1.size()));
    if (!fill1.empty())
        Check(Packed(capacity, [&](unsigned char* b, std::size_t c) { return fillup2.PackFillupRecord(b, c); }) ==
              fill1);
    return 0;
}
