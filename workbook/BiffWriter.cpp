#include "BiffWriter.h"

#include "Biff.h"

#include <algorithm>
#include <cstring>

namespace workbook {
namespace {

// Appends the characters, 8 or 16 bits each.
void PutCharacters(Bytes& out, const char16_t* text, std::size_t count, bool narrow) {
    const std::size_t at = out.size();
    out.resize(at + count * (narrow ? 1 : 2));
    std::uint8_t* p = out.data() + at;
    for (std::size_t i = 0; i < count; ++i) {
        if (narrow) {
            p[i] = static_cast<std::uint8_t>(text[i]);
        } else {
            p[2 * i] = static_cast<std::uint8_t>(text[i]);
            p[2 * i + 1] = static_cast<std::uint8_t>(text[i] >> 8);
        }
    }
}

}  // namespace

namespace {
constexpr std::size_t kSinkBlock = 64 * 1024;
}

BiffWriter::BiffWriter(Sink sink) : m_sink(std::move(sink)) { m_stream.reserve(kSinkBlock + biff::kMaxRecordData + 4); }

BiffWriter BiffWriter::Counting() {
    BiffWriter writer;
    writer.m_counting = true;
    return writer;
}

void BiffWriter::Record(std::uint16_t id, const std::uint8_t* data, std::size_t size) {
    if (m_counting) {
        m_handedOver += 4 + size;
        return;
    }
    const std::uint8_t header[4] = {static_cast<std::uint8_t>(id), static_cast<std::uint8_t>(id >> 8),
                                    static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8)};
    m_stream.insert(m_stream.end(), header, header + 4);
    m_stream.insert(m_stream.end(), data, data + size);
    if (m_sink && m_stream.size() >= kSinkBlock) Flush();
}

void BiffWriter::Flush() {
    if (!m_sink || m_stream.empty()) return;
    m_sink(m_stream.data(), m_stream.size());
    m_handedOver += m_stream.size();
    m_stream.clear();
}

SmallRecord& SmallRecord::F64(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return U32(static_cast<std::uint32_t>(bits)).U32(static_cast<std::uint32_t>(bits >> 32));
}

bool FitsInEightBits(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c <= 0xFF; });
}

void PutString(Bytes& out, std::u16string_view text, bool shortCount) {
    if (shortCount) PutU8(out, static_cast<unsigned>(text.size()));
    else PutU16(out, static_cast<unsigned>(text.size()));
    const bool narrow = FitsInEightBits(text);
    PutU8(out, narrow ? 0 : 1);
    PutCharacters(out, text.data(), text.size(), narrow);
}

void WriteSharedStrings(BiffWriter& writer, const std::vector<std::u16string_view>& strings, std::uint32_t references) {
    using biff::kMaxRecordData;
    // The index keeps one string of every bucket, at most 128 buckets.
    const std::size_t perBucket = std::max<std::size_t>(8, (strings.size() + 127) / 128);
    Bytes index;
    PutU16(index, static_cast<unsigned>(perBucket));

    Bytes record;
    record.reserve(kMaxRecordData);
    std::uint16_t id = biff::kSst;
    PutU32(record, references);
    PutU32(record, static_cast<std::uint32_t>(strings.size()));
    auto flush = [&] {
        writer.Record(id, record);
        record.clear();
        id = biff::kContinue;
    };
    for (std::size_t i = 0; i < strings.size(); ++i) {
        const std::u16string_view text = strings[i];
        const bool narrow = FitsInEightBits(text);
        const std::size_t width = narrow ? 1 : 2;
        // A string's count and option byte, and its first character, never
        // sit apart from each other.
        if (record.size() + 3 + (text.empty() ? 0 : width) > kMaxRecordData) flush();
        if (i % perBucket == 0) {
            PutU32(index, static_cast<std::uint32_t>(writer.Position() + 4 + record.size()));
            PutU16(index, static_cast<unsigned>(4 + record.size()));
            PutU16(index, 0);
        }
        PutU16(record, static_cast<unsigned>(text.size()));
        PutU8(record, narrow ? 0 : 1);
        for (std::size_t done = 0;;) {
            const std::size_t count = std::min((kMaxRecordData - record.size()) / width, text.size() - done);
            PutCharacters(record, text.data() + done, count, narrow);
            done += count;
            if (done == text.size()) break;
            // The rest goes on in a CONTINUE record that restates the width.
            flush();
            PutU8(record, narrow ? 0 : 1);
        }
    }
    flush();
    writer.Record(biff::kExtSst, index);
}

}  // namespace workbook
