#include "PalmRecord.h"

#include <functional>

void CPalmRecord::SetData(const void* bytes, std::size_t length) {
    const auto* begin = static_cast<const unsigned char*>(bytes);
    const std::less<const unsigned char*> before;
    const bool inBuffer = !m_data.empty() && !before(begin, m_data.data()) && before(begin, m_data.data() + m_data.size());
    if (inBuffer) {
        std::vector<unsigned char>(begin, begin + length).swap(m_data);
        return;
    }
    m_data.assign(begin, begin + length);
}
