#include "TableFile.h"

int CTableFile::ReadLong(std::int32_t& value) {
    // The value goes back also when the read failed: whatever ReadInt left in
    // its out parameter is what the caller gets.
    int temporary = value;
    const int result = ReadInt(temporary);
    value = temporary;
    return result;
}

int CTableFile::GetRow() { return m_row; }
