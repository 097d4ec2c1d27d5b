#pragma once
#include "LittleEndian.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace workbook {

// Builds a workbook stream record by record: held whole, handed to a sink
// a block at a time, or only counted.
class BiffWriter {
public:
    using Sink = std::function<void(const std::uint8_t* data, std::size_t size)>;

    // Room for a small workbook's whole stream (the size a compound file
    // pads it to anyway), so that it is not copied as it grows.
    BiffWriter() { m_stream.reserve(4096); }
    // Hands the records to the sink in blocks of about 64 KiB (Flush hands
    // over the rest), holding no more than a block.
    explicit BiffWriter(Sink sink);
    // Keeps nothing: Position tells how long the stream would be.
    static BiffWriter Counting();
    // Room for a stream of that many bytes, known before the records go in.
    void Reserve(std::size_t bytes) { m_stream.reserve(bytes); }
    // Appends one record; its data must fit one record (biff::kMaxRecordData).
    void Record(std::uint16_t id, const Bytes& data) { Record(id, data.data(), data.size()); }
    void Record(std::uint16_t id, const std::uint8_t* data, std::size_t size);
    // The stream offset the next record starts at.
    std::size_t Position() const { return m_handedOver + m_stream.size(); }
    // Overwrites 32 bits already written and still held (an offset learnt later).
    void Patch(std::size_t at, std::uint32_t value) { SetU32(m_stream, at - m_handedOver, value); }
    void Flush();
    Bytes Take() { return std::move(m_stream); }

private:
    Bytes m_stream;
    Sink m_sink;
    bool m_counting = false;
    std::size_t m_handedOver = 0;  // to the sink, or counted
};

// The data of a small record of fixed size, built without a heap block of
// its own: cell records are most of a workbook.
class SmallRecord {
public:
    SmallRecord& U8(unsigned value) {
        m_bytes[m_size++] = static_cast<std::uint8_t>(value);
        return *this;
    }
    SmallRecord& U16(unsigned value) { return U8(value).U8(value >> 8); }
    SmallRecord& U32(std::uint32_t value) { return U16(value & 0xFFFF).U16(value >> 16); }
    SmallRecord& F64(double value);
    void WriteTo(BiffWriter& writer, std::uint16_t id) const { writer.Record(id, m_bytes, m_size); }

private:
    std::uint8_t m_bytes[32];
    std::size_t m_size = 0;
};

// A string as most records hold it: its character count (16 bits, or 8 for
// the short form), an option byte, then the characters, 8 bits each when
// every one fits, else 16.
void PutString(Bytes& out, std::u16string_view text, bool shortCount = false);
bool FitsInEightBits(std::u16string_view text);

// The shared string table of the given strings (SST, CONTINUE records and the
// EXTSST index); references counts the cells that use them.
void WriteSharedStrings(BiffWriter& writer, const std::vector<std::u16string_view>& strings, std::uint32_t references);

}  // namespace workbook
