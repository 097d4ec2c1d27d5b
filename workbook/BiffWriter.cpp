#include "BiffWriter.h"

#include "Biff.h"

#include <algorithm>

namespace workbook {

void BiffWriter::Record(std::uint16_t id, const Bytes& data) {
    PutU16(m_stream, id);
    PutU16(m_stream, static_cast<unsigned>(data.size()));
    m_stream.insert(m_stream.end(), data.begin(), data.end());
}

bool FitsInEightBits(const std::u16string& text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c <= 0xFF; });
}

void PutString(Bytes& out, const std::u16string& text, bool shortCount) {
    if (shortCount) PutU8(out, static_cast<unsigned>(text.size()));
    else PutU16(out, static_cast<unsigned>(text.size()));
    const bool narrow = FitsInEightBits(text);
    PutU8(out, narrow ? 0 : 1);
    for (char16_t c : text) {
        if (narrow) PutU8(out, c);
        else PutU16(out, c);
    }
}

void WriteSharedStrings(BiffWriter& writer, const std::vector<std::u16string>& strings, std::uint32_t references) {
    using biff::kMaxRecordData;
    // The index keeps one string of every bucket, at most 128 buckets.
    const std::size_t perBucket = std::max<std::size_t>(8, (strings.size() + 127) / 128);
    Bytes index;
    PutU16(index, static_cast<unsigned>(perBucket));

    Bytes record;
    std::uint16_t id = biff::kSst;
    PutU32(record, references);
    PutU32(record, static_cast<std::uint32_t>(strings.size()));
    auto flush = [&] {
        writer.Record(id, record);
        record.clear();
        id = biff::kContinue;
    };
    for (std::size_t i = 0; i < strings.size(); ++i) {
        const std::u16string& text = strings[i];
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
            for (std::size_t k = done; k < done + count; ++k) {
                if (narrow) PutU8(record, text[k]);
                else PutU16(record, text[k]);
            }
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
