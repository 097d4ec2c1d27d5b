#include "PalmDatabase.h"

#include "ByteFields.h"
#include "MappedFile.h"
#include "ShortText.h"
#include "SpoolFile.h"

#include <algorithm>
#include <array>
#include <stdexcept>
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

CPalmDatabase::CPalmDatabase() = default;
CPalmDatabase::CPalmDatabase(CPalmDatabase&&) noexcept = default;
CPalmDatabase& CPalmDatabase::operator=(CPalmDatabase&&) noexcept = default;
CPalmDatabase::~CPalmDatabase() = default;

const unsigned char* CPalmDatabase::Bytes() const { return m_mapped ? m_mapped->View() : m_data.data(); }

void CPalmDatabase::CopyMappedBytes() {
    if (!m_mapped) return;
    m_data.assign(m_mapped->View(), m_mapped->View() + m_mapped->Size());
    m_mapped.reset();
}

void CPalmDatabase::AddRecord(const CPalmRecord& record) {
    StoredRecord stored;
    stored.idOrType = m_resource ? record.GetResourceType() : record.GetUniqueId();
    stored.resourceId = record.GetResourceId();
    stored.attributes = record.GetAttributes();
    if (!record.GetCategoryName().empty())
        stored.attributes = static_cast<std::uint8_t>((stored.attributes & 0xF0) | FindOrAddCategory(record.GetCategoryName()));
    AddStored(stored, record.GetData().data(), record.GetData().size());
}

void CPalmDatabase::AddRecord(const unsigned char* data, std::size_t size, std::uint8_t attributes) {
    StoredRecord stored;
    stored.attributes = attributes;
    AddStored(stored, data, size);
}

void CPalmDatabase::AddStored(const StoredRecord& stored, const unsigned char* data, std::size_t size) {
    CopyMappedBytes();
    const std::uint64_t at = AddedEnd();
    if (at + size > 0xFFFFFFFF) throw std::length_error("database over 4 GB");
    std::array<unsigned char, kResourceEntrySize> entry;
    PutEntry(entry.data(), stored, static_cast<std::uint32_t>(at));
    if (m_spool) {
        m_spool->Append(data, size);
        m_entrySpool->Append(entry.data(), EntrySize());
        return;
    }
    m_data.insert(m_data.end(), data, data + size);
    // Byte by byte: a resize or an insert of a few bytes is a call into the
    // library, for every record of an import.
    for (std::size_t i = 0, entrySize = EntrySize(); i < entrySize; ++i) m_addedEntries.push_back(entry[i]);
}

bool CPalmDatabase::SpoolRecords() {
    if (GetRecordCount() > 0) return false;
    auto spool = std::make_unique<CSpoolFile>();
    auto entrySpool = std::make_unique<CSpoolFile>();
    if (!spool->Open() || !entrySpool->Open()) return false;
    m_spool = std::move(spool);
    m_entrySpool = std::move(entrySpool);
    return true;
}

void CPalmDatabase::Reserve(std::size_t records, std::size_t dataBytes) {
    CopyMappedBytes();
    if (m_spool) return;
    m_addedEntries.reserve(m_addedEntries.size() + records * EntrySize());
    m_data.reserve(m_data.size() + dataBytes);
}

CPalmDatabase::StoredRecord CPalmDatabase::StoredAt(std::size_t index) const {
    return index < m_listedRecords ? ListedRecord(index) : AddedRecord(index - m_listedRecords);
}

CPalmRecord CPalmDatabase::GetRecord(int index) const {
    CPalmRecord record;
    if (index < 0 || index >= GetRecordCount()) return record;
    const StoredRecord stored = StoredAt(static_cast<std::size_t>(index));
    if (m_spool) {
        std::vector<unsigned char> bytes(stored.length);
        m_spool->ReadAt(stored.dataAt, bytes.data(), bytes.size());
        record.SetData(std::move(bytes));
    } else {
        record.SetData(Bytes() + stored.dataAt, stored.length);
    }
    record.SetUniqueId(m_resource ? 0 : stored.idOrType);
    record.SetResourceType(m_resource ? stored.idOrType : 0);
    record.SetResourceId(stored.resourceId);
    record.SetAttributes(stored.attributes);
    record.SetCategoryName(GetCategoryLabel(record.GetCategoryIndex()));
    return record;
}

CPalmDatabase::RecordView CPalmDatabase::ViewRecord(int index) const {
    if (index < 0 || index >= GetRecordCount() || m_spool) return {};
    const StoredRecord stored = StoredAt(static_cast<std::size_t>(index));
    return {Bytes() + stored.dataAt, stored.length, stored.attributes};
}

std::string CPalmDatabase::GetCategoryLabel(int index) const {
    if (index < 0 || index >= static_cast<int>(kCategoryCount)) return std::string();
    return TextAt(m_categoryBlock.data(), m_categoryBlock.size(), kLabelsAt + kCategoryLabelSize * index,
                  kCategoryLabelSize - 1);
}

std::uint8_t CPalmDatabase::FindOrAddCategory(const std::string& name) {
    // Compared as it would be stored, so a long name finds its own label again.
    const std::string_view label(name.data(), TextLength(name, kCategoryLabelSize - 1));
    // A label is its slot's text up to a NUL, at most 15 characters.  The
    // last character is compared first: names of one length often differ
    // only at their end ("Car 1", "Car 2"), and this runs for every record
    // of an import.
    for (std::size_t i = 0; i < kCategoryCount; ++i) {
        const auto* slot = reinterpret_cast<const char*>(m_categoryBlock.data() + kLabelsAt + kCategoryLabelSize * i);
        if ((label.size() == kCategoryLabelSize - 1 || slot[label.size()] == '\0') &&
            (label.empty() || slot[label.size() - 1] == label.back()) &&
            StartsWithShortText(std::string_view(slot, kCategoryLabelSize), label))
            return static_cast<std::uint8_t>(i);
    }
    for (std::size_t i = 0; i < kCategoryCount; ++i) {
        unsigned char* slot = m_categoryBlock.data() + kLabelsAt + kCategoryLabelSize * i;
        if (slot[0] != 0) continue;
        PutText(slot, kCategoryLabelSize, name);  // cut as label is
        ++m_categoryBlock[kLastCategoryIdAt];  // wraps at 256
        m_categoryBlock[kCategoryIdsAt + i] = m_categoryBlock[kLastCategoryIdAt];
        return static_cast<std::uint8_t>(i);
    }
    return 0;
}
