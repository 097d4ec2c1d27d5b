#include "PalmRecord.h"

void CPalmRecord::SetData(const void* bytes, std::size_t length) {
    // A fresh buffer of exactly length bytes; safe when bytes lie in the old one.
    const auto* begin = static_cast<const unsigned char*>(bytes);
    m_data = length == 0 ? std::vector<unsigned char>() : std::vector<unsigned char>(begin, begin + length);
}
