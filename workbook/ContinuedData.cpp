#include "ContinuedData.h"

#include "LittleEndian.h"

#include <algorithm>

namespace workbook {
namespace {

constexpr std::uint8_t kWideCharacters = 0x01;
constexpr std::uint8_t kPhoneticData = 0x04;
constexpr std::uint8_t kFormattingRuns = 0x08;

}  // namespace

void ContinuedData::Add(const std::uint8_t* data, std::size_t size) { m_segments.push_back({data, size}); }

bool ContinuedData::AtEnd() const {
    for (std::size_t i = m_segment; i < m_segments.size(); ++i)
        if (m_segments[i].size > (i == m_segment ? m_offset : 0)) return false;
    return true;
}

bool ContinuedData::Skip(std::uint64_t count) {
    while (count > 0) {
        if (m_segment >= m_segments.size()) return false;
        const std::size_t available = m_segments[m_segment].size - m_offset;
        const std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(available, count));
        m_offset += step;
        count -= step;
        if (m_offset == m_segments[m_segment].size && count > 0) {
            ++m_segment;
            m_offset = 0;
        }
    }
    return true;
}

bool ContinuedData::ReadBytes(std::uint8_t* out, std::size_t count) {
    while (count > 0) {
        if (m_segment >= m_segments.size()) return false;
        const Segment& segment = m_segments[m_segment];
        const std::size_t step = std::min(segment.size - m_offset, count);
        std::copy(segment.data + m_offset, segment.data + m_offset + step, out);
        out += step;
        count -= step;
        m_offset += step;
        if (m_offset == segment.size && count > 0) {
            ++m_segment;
            m_offset = 0;
        }
    }
    return true;
}

bool ContinuedData::ReadU8(std::uint8_t& value) { return ReadBytes(&value, 1); }

bool ContinuedData::ReadU16(std::uint16_t& value) {
    std::uint8_t bytes[2];
    if (!ReadBytes(bytes, 2)) return false;
    value = GetU16(bytes);
    return true;
}

bool ContinuedData::ReadU32(std::uint32_t& value) {
    std::uint8_t bytes[4];
    if (!ReadBytes(bytes, 4)) return false;
    value = GetU32(bytes);
    return true;
}

bool ContinuedData::ReadCharacters(std::size_t count, bool wide, std::u16string& text) {
    text.clear();
    text.reserve(count);
    while (text.size() < count) {
        if (m_segment < m_segments.size() && m_offset == m_segments[m_segment].size) {
            // A seam inside the characters: the next part says its width.
            if (++m_segment >= m_segments.size()) return false;
            m_offset = 0;
            std::uint8_t options;
            if (!ReadU8(options)) return false;
            wide = (options & kWideCharacters) != 0;
        }
        if (m_segment >= m_segments.size()) return false;
        const Segment& segment = m_segments[m_segment];
        const std::size_t available = (segment.size - m_offset) / (wide ? 2 : 1);
        const std::size_t step = std::min(available, count - text.size());
        if (step == 0) return false;  // half a wide character before a seam
        const std::uint8_t* p = segment.data + m_offset;
        const std::size_t done = text.size();
        text.resize(done + step);
        char16_t* out = &text[done];
        if (wide) {
            for (std::size_t i = 0; i < step; ++i) out[i] = static_cast<char16_t>(GetU16(p + 2 * i));
        } else {
            for (std::size_t i = 0; i < step; ++i) out[i] = p[i];
        }
        m_offset += step * (wide ? 2 : 1);
    }
    return true;
}

bool ContinuedData::ReadString(std::u16string& text, bool shortCount) {
    std::uint16_t count = 0;
    std::uint8_t options = 0;
    if (shortCount) {
        std::uint8_t shortLength;
        if (!ReadU8(shortLength)) return false;
        count = shortLength;
    } else if (!ReadU16(count)) {
        return false;
    }
    if (!ReadU8(options)) return false;
    std::uint16_t runs = 0;
    std::uint32_t phoneticBytes = 0;
    if ((options & kFormattingRuns) && !ReadU16(runs)) return false;
    if ((options & kPhoneticData) && !ReadU32(phoneticBytes)) return false;
    return ReadCharacters(count, (options & kWideCharacters) != 0, text) &&
           Skip(std::uint64_t(runs) * 4 + phoneticBytes);
}

}  // namespace workbook
