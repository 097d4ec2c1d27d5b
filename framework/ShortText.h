#pragma once
#include <string_view>

// Whether text begins with prefix.  For the few characters of a category
// label or a date's separator, a loop of our own: a call into the C library's
// memcmp costs more than the comparison, and it is made for every row.
inline bool StartsWithShortText(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (text[i] != prefix[i]) return false;
    return true;
}
