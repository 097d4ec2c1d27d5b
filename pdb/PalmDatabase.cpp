#include "PalmDatabase.h"

#include "ByteFields.h"

#include <utility>

using namespace bytefields;

namespace {
constexpr std::size_t kLabelsAt = 2;
constexpr std::size_t kCategoryIdsAt = 258;
constexpr std::size_t kLastCategoryIdAt = 274;
}  // namespace

CPalmDatabase::CPalmDatabase(std::string name, std::uint32_t creator, std::uint32_t type, bool resource)
    : m_name(std::move(name)),
      m_creator(creator),
      m_type(type),
      m_creationDate(CurrentCalendarTime()),
      m_modificationDate(CurrentCalendarTime()),
      m_lastBackupDate(CurrentCalendarTime()),
      m_attributes(resource ? kBackupAttribute | kResourceAttribute : kBackupAttribute),
      m_resource(resource) {}

void CPalmDatabase::AddRecord(CPalmRecord record) {
    if (!record.GetCategoryName().empty()) {
        const std::uint8_t index = FindOrAddCategory(record.GetCategoryName());
        record.SetAttributes(static_cast<std::uint8_t>((record.GetAttributes() & 0xF0) | index));
    }
    m_records.push_back(std::move(record));
}

CPalmRecord CPalmDatabase::GetRecord(int index) const {
    if (index < 0 || index >= GetRecordCount()) return CPalmRecord();
    return m_records[static_cast<std::size_t>(index)];
}

std::string CPalmDatabase::GetCategoryLabel(int index) const {
    if (index < 0 || index >= static_cast<int>(kCategoryCount)) return std::string();
    return TextAt(m_categoryBlock.data(), m_categoryBlock.size(), kLabelsAt + kCategoryLabelSize * index,
                  kCategoryLabelSize - 1);
}

std::uint8_t CPalmDatabase::FindOrAddCategory(const std::string& name) {
    // Compared as it would be stored, so a long name finds its own label again.
    const std::string label = name.substr(0, TextLength(name, kCategoryLabelSize - 1));
    for (std::size_t i = 0; i < kCategoryCount; ++i)
        if (GetCategoryLabel(static_cast<int>(i)) == label) return static_cast<std::uint8_t>(i);
    for (std::size_t i = 0; i < kCategoryCount; ++i) {
        unsigned char* slot = m_categoryBlock.data() + kLabelsAt + kCategoryLabelSize * i;
        if (slot[0] != 0) continue;
        PutText(slot, kCategoryLabelSize, label);
        ++m_categoryBlock[kLastCategoryIdAt];  // wraps at 256
        m_categoryBlock[kCategoryIdsAt + i] = m_categoryBlock[kLastCategoryIdAt];
        return static_cast<std::uint8_t>(i);
    }
    return 0;
}
