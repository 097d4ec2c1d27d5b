#include "BiffRecordReader.h"

#include "LittleEndian.h"

namespace workbook {

BiffRecordReader::BiffRecordReader(const std::uint8_t* stream, std::size_t size, std::size_t offset)
    : m_stream(stream), m_size(size), m_offset(offset) {}

bool BiffRecordReader::Next(BiffRecord& record, std::string& error) {
    if (m_offset >= m_size || m_size - m_offset < 4) return false;
    record.id = GetU16(m_stream + m_offset);
    record.size = GetU16(m_stream + m_offset + 2);
    if (record.size > m_size - m_offset - 4) {
        error = "a record runs past the end of the workbook stream at offset " + std::to_string(m_offset);
        return false;
    }
    record.data = m_stream + m_offset + 4;
    m_offset += 4 + record.size;
    return true;
}

bool BiffRecordReader::NextIs(std::uint16_t id) const {
    return m_offset < m_size && m_size - m_offset >= 4 && GetU16(m_stream + m_offset) == id;
}

}  // namespace workbook
