#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace workbook {

struct BiffRecord {
    std::uint16_t id = 0;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

// Steps through the records of a workbook stream from a given offset.  A
// record whose length runs past the stream's end is an error.
class BiffRecordReader {
public:
    BiffRecordReader(const std::uint8_t* stream, std::size_t size, std::size_t offset);

    // The next record; false at the stream's end (error empty) or at a
    // damaged record (error set).
    bool Next(BiffRecord& record, std::string& error);
    // Whether the record after the current one has that id.
    bool NextIs(std::uint16_t id) const;

private:
    const std::uint8_t* m_stream;
    std::size_t m_size;
    std::size_t m_offset;
};

}  // namespace workbook
