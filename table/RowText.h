#pragma once
#include "ShortCopy.h"

#include <cstddef>
#include <memory>
#include <string_view>

// A row's text as it is spelled, a few bytes at a time.  A std::string
// append is a call into the library and from there into the C runtime's
// memmove, some twenty times a row of an export; here a short piece is
// copied in place (CopyBytes).  The memory is kept when the text is emptied.
class CRowText {
public:
    // A piece that lies outside the text.
    void Append(std::string_view piece) {
        if (piece.size() > m_capacity - m_size) Grow(piece.size());
        CopyBytes(m_text.get() + m_size, piece.data(), piece.size());
        m_size += piece.size();
    }
    void Append(char c) {
        if (m_size == m_capacity) Grow(1);
        m_text[m_size++] = c;
    }
    std::string_view View() const { return {m_text.get(), m_size}; }
    std::size_t Size() const { return m_size; }
    void Clear() { m_size = 0; }

private:
    // Room for at least more bytes after the text.
    void Grow(std::size_t more);

    std::unique_ptr<char[]> m_text;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};
