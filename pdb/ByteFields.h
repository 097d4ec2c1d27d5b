#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// Big-endian numbers and NUL-terminated texts inside byte buffers, shared by
// the database file and the record layouts.  The readers take a record's
// bytes and never look past them: a byte beyond the end reads as 0.
namespace bytefields {

inline void PutU16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v >> 8);
    p[1] = static_cast<unsigned char>(v);
}

inline void PutU32(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v >> 24);
    p[1] = static_cast<unsigned char>(v >> 16);
    p[2] = static_cast<unsigned char>(v >> 8);
    p[3] = static_cast<unsigned char>(v);
}

inline std::uint16_t GetU16(const unsigned char* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

inline std::uint32_t GetU32(const unsigned char* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

inline std::uint8_t ByteAt(const unsigned char* data, std::size_t size, std::size_t offset) {
    return offset < size ? data[offset] : 0;
}

inline std::uint16_t U16At(const unsigned char* data, std::size_t size, std::size_t offset) {
    return static_cast<std::uint16_t>((ByteAt(data, size, offset) << 8) | ByteAt(data, size, offset + 1));
}

inline std::uint32_t U32At(const unsigned char* data, std::size_t size, std::size_t offset) {
    return (static_cast<std::uint32_t>(U16At(data, size, offset)) << 16) | U16At(data, size, offset + 2);
}

inline std::uint8_t ByteAt(const std::vector<unsigned char>& data, std::size_t offset) {
    return ByteAt(data.data(), data.size(), offset);
}

inline std::uint16_t U16At(const std::vector<unsigned char>& data, std::size_t offset) {
    return U16At(data.data(), data.size(), offset);
}

inline std::uint32_t U32At(const std::vector<unsigned char>& data, std::size_t offset) {
    return U32At(data.data(), data.size(), offset);
}

// The text at offset: up to its NUL, at most maxChars characters, never past
// the end of the bytes.
inline std::string_view TextViewAt(const unsigned char* data, std::size_t size, std::size_t offset,
                                   std::size_t maxChars) {
    if (offset >= size) return std::string_view();
    const std::size_t room = std::min(size - offset, maxChars);
    const auto* begin = reinterpret_cast<const char*>(data + offset);
    const void* nul = std::memchr(begin, 0, room);
    return std::string_view(begin, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - begin) : room);
}

inline std::string TextAt(const unsigned char* data, std::size_t size, std::size_t offset, std::size_t maxChars) {
    return std::string(TextViewAt(data, size, offset, maxChars));
}

inline std::string TextAt(const std::vector<unsigned char>& data, std::size_t offset, std::size_t maxChars) {
    return TextAt(data.data(), data.size(), offset, maxChars);
}

// Characters of text before its first NUL, at most maxChars.
inline std::size_t TextLength(const std::string& text, std::size_t maxChars) {
    // A loop of our own rather than the C library's strlen: an import asks
    // this of every record's category name.
    std::size_t length = 0;
    while (length < maxChars && length < text.size() && text[length] != '\0') ++length;
    return length;
}

// Fills a field of fieldSize bytes with text, cut to fieldSize - 1
// characters, and NULs after it.
inline void PutText(unsigned char* field, std::size_t fieldSize, const std::string& text) {
    const std::size_t n = TextLength(text, fieldSize - 1);
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, fieldSize - n);
}

}  // namespace bytefields
