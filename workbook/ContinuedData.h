#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace workbook {

// The data of one record and the CONTINUE records after it, read as one run
// of bytes.  Only the characters of a string treat the seams specially: a
// string cut at a seam goes on after one option byte that says whether its
// remaining characters are 8 or 16 bits wide.  Every read stops at the end
// of the data and reports false.
class ContinuedData {
public:
    void Add(const std::uint8_t* data, std::size_t size);

    bool AtEnd() const;
    bool Skip(std::uint64_t count);
    bool ReadU8(std::uint8_t& value);
    bool ReadU16(std::uint16_t& value);
    bool ReadU32(std::uint32_t& value);

    // A string as text records and the shared string table store it: its
    // character count (16 bits, or 8 for the short form), an option byte,
    // the optional counts of formatting runs and phonetic data, the
    // characters, then the runs and phonetic data, which are skipped.
    bool ReadString(std::u16string& text, bool shortCount = false);

private:
    bool ReadCharacters(std::size_t count, bool wide, std::u16string& text);
    bool ReadBytes(std::uint8_t* out, std::size_t count);

    struct Segment {
        const std::uint8_t* data;
        std::size_t size;
    };
    std::vector<Segment> m_segments;
    std::size_t m_segment = 0;
    std::size_t m_offset = 0;  // within the current segment
};

}  // namespace workbook
