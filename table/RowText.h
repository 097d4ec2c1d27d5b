#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

// A row's text as it is spelled, a few bytes at a time.  A std::string
// append is a call into the library and from there into the C runtime's
// memmove (under Wine a function of its own that sorts by size first), some
// twenty times a row of an export; here a piece of up to 16 bytes is copied
// in place.  The memory is kept when the text is emptied.
class CRowText {
public:
    // A piece that lies outside the text.
    void Append(std::string_view piece) {
        if (piece.size() > m_capacity - m_size) Grow(piece.size());
        CopyPiece(m_text.get() + m_size, piece.data(), piece.size());
        m_size += piece.size();
    }
    void Append(char c) {
        if (m_size == m_capacity) Grow(1);
        m_text[m_size++] = c;
    }
    std::string_view View() const { return {m_text.get(), m_size}; }
    std::size_t Size() const { return m_size; }
    bool Empty() const { return m_size == 0; }
    void Clear() { m_size = 0; }

private:
    // Room for at least more bytes after the text.
    void Grow(std::size_t more);

    // Pieces of known size go as one or two moves each (overlapping where
    // the size lies between), which the compiler writes in place.
    static void CopyPiece(char* to, const char* from, std::size_t size) {
        if (size > 16) {
            std::memcpy(to, from, size);
        } else if (size >= 8) {
            CopyTwo<std::uint64_t>(to, from, size);
        } else if (size >= 4) {
            CopyTwo<std::uint32_t>(to, from, size);
        } else if (size >= 2) {
            CopyTwo<std::uint16_t>(to, from, size);
        } else if (size == 1) {
            *to = *from;
        }
    }
    // The first and the last sizeof(Word) bytes of size (sizeof(Word) to
    // twice that), both read before either is written.
    template <typename Word>
    static void CopyTwo(char* to, const char* from, std::size_t size) {
        Word first, last;
        std::memcpy(&first, from, sizeof first);
        std::memcpy(&last, from + size - sizeof last, sizeof last);
        std::memcpy(to, &first, sizeof first);
        std::memcpy(to + size - sizeof last, &last, sizeof last);
    }

    std::unique_ptr<char[]> m_text;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};
