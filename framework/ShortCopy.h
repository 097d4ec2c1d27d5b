#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

// Copies of a few bytes made in place.  A memcpy of unknown size is a call
// into the C runtime (under Wine a function of its own that sorts by size and
// moves the last bytes one at a time), several times for every row an import
// or an export handles.  Up to 16 bytes go here as one or two moves of a
// word each, overlapping where the size lies between two word sizes, which
// the compiler writes in place; more go to memcpy.
namespace shortcopy_detail {
// The first and the last sizeof(Word) bytes of size (sizeof(Word) to twice
// that), both read before either is written.
template <typename Word>
void CopyEnds(unsigned char* to, const unsigned char* from, std::size_t size) {
    Word first, last;
    std::memcpy(&first, from, sizeof first);
    std::memcpy(&last, from + size - sizeof last, sizeof last);
    std::memcpy(to, &first, sizeof first);
    std::memcpy(to + size - sizeof last, &last, sizeof last);
}
}  // namespace shortcopy_detail

// size bytes from from to to; the two do not overlap.
inline void CopyBytes(void* to, const void* from, std::size_t size) {
    auto* out = static_cast<unsigned char*>(to);
    const auto* in = static_cast<const unsigned char*>(from);
    if (size > 16) {
        std::memcpy(out, in, size);
    } else if (size >= 8) {
        shortcopy_detail::CopyEnds<std::uint64_t>(out, in, size);
    } else if (size >= 4) {
        shortcopy_detail::CopyEnds<std::uint32_t>(out, in, size);
    } else if (size >= 2) {
        shortcopy_detail::CopyEnds<std::uint16_t>(out, in, size);
    } else if (size == 1) {
        *out = *in;
    }
}
