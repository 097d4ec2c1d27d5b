#pragma once
#include "LittleEndian.h"

#include <cstdint>
#include <string>

namespace workbook {

// Builds a workbook stream record by record.
class BiffWriter {
public:
    // Room for a small workbook's whole stream (the size a compound file
    // pads it to anyway), so that it is not copied as it grows.
    BiffWriter() { m_stream.reserve(4096); }
    // Appends one record; its data must fit one record (biff::kMaxRecordData).
    void Record(std::uint16_t id, const Bytes& data);
    // The stream offset the next record starts at.
    std::size_t Position() const { return m_stream.size(); }
    // Overwrites 32 bits already written (an offset learnt later).
    void Patch(std::size_t at, std::uint32_t value) { SetU32(m_stream, at, value); }
    Bytes Take() { return std::move(m_stream); }

private:
    Bytes m_stream;
};

// A string as most records hold it: its character count (16 bits, or 8 for
// the short form), an option byte, then the characters, 8 bits each when
// every one fits, else 16.
void PutString(Bytes& out, const std::u16string& text, bool shortCount = false);
bool FitsInEightBits(const std::u16string& text);

// The shared string table of the given strings (SST, CONTINUE records and the
// EXTSST index); references counts the cells that use them.
void WriteSharedStrings(BiffWriter& writer, const std::vector<std::u16string>& strings, std::uint32_t references);

}  // namespace workbook
