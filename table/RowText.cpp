#include "RowText.h"

#include <algorithm>
#include <cstring>

void CRowText::Grow(std::size_t more) {
    // Doubled, so that a row's text is moved a few times at most however
    // long its cells; a row of the log needs the first block only.
    constexpr std::size_t kFirstCapacity = 256;
    const std::size_t capacity = std::max({m_size + more, 2 * m_capacity, kFirstCapacity});
    auto text = std::make_unique<char[]>(capacity);
    if (m_size > 0) std::memcpy(text.get(), m_text.get(), m_size);
    m_text = std::move(text);
    m_capacity = capacity;
}
