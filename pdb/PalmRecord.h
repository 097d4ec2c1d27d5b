#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One record (or resource) of a handheld database with its own copy of the
// data bytes.  Copies are deep: every record owns its buffer.
class CPalmRecord {
public:
    // Replaces the data with a copy of length bytes (none when length is 0),
    // in the buffer's memory where it has room: a record read again and again
    // costs no allocation.
    void SetData(const void* bytes, std::size_t length);
    void SetData(std::vector<unsigned char> bytes) { m_data = std::move(bytes); }
    const std::vector<unsigned char>& GetData() const { return m_data; }
    std::uint32_t GetLength() const { return static_cast<std::uint32_t>(m_data.size()); }

    // High nibble: record flags, carried untouched; low nibble: category index.
    std::uint8_t GetAttributes() const { return m_attributes; }
    void SetAttributes(std::uint8_t attributes) { m_attributes = attributes; }
    int GetCategoryIndex() const { return m_attributes & 0x0F; }

    // Only the low 24 bits reach the file.
    std::uint32_t GetUniqueId() const { return m_uniqueId; }
    void SetUniqueId(std::uint32_t id) { m_uniqueId = id; }

    // Resource databases only; 0 in a record database.
    std::uint32_t GetResourceType() const { return m_resourceType; }
    void SetResourceType(std::uint32_t type) { m_resourceType = type; }
    std::uint16_t GetResourceId() const { return m_resourceId; }
    void SetResourceId(std::uint16_t id) { m_resourceId = id; }

    // The label of the record's category: filled by CPalmDatabase::Read,
    // turned into the category index by CPalmDatabase::AddRecord.
    const std::string& GetCategoryName() const { return m_categoryName; }
    void SetCategoryName(std::string name) { m_categoryName = std::move(name); }

private:
    std::uint32_t m_resourceType = 0;
    std::uint16_t m_resourceId = 0;
    std::uint8_t m_attributes = 0;
    std::uint32_t m_uniqueId = 0;
    std::vector<unsigned char> m_data;
    std::string m_categoryName;
};
