// The database file's bytes: header, record list, gap, category block,
// record data.  Built and taken apart in memory; the file object only fetches
// and stores them (PalmDatabaseFile.cpp).
#include "PalmDatabase.h"

#include "ByteFields.h"
#include "SpoolFile.h"

#include <algorithm>
#include <array>
#include <utility>

using namespace bytefields;

namespace {
constexpr std::size_t kHeaderSize = 78;
constexpr std::size_t kGapSize = 2;
constexpr std::uint64_t kLargestOffset = 0xFFFFFFFF;  // record offsets are 32 bits
constexpr std::size_t kListBlockEntries = 512;
// Seconds from 1904-01-01, the file's epoch, to 1970-01-01.
constexpr std::uint32_t kEpochDifference = 2082844800u;

// The data offset in the file's record list entry at index.
std::size_t ListedOffset(const unsigned char* file, bool resource, std::size_t index) {
    const std::size_t entrySize = resource ? CPalmDatabase::kResourceEntrySize : CPalmDatabase::kRecordEntrySize;
    return GetU32(file + kHeaderSize + index * entrySize + (resource ? 6 : 0));
}

std::uint32_t ToFileDate(CalendarTime t) { return static_cast<std::uint32_t>(t) + kEpochDifference; }
CalendarTime FromFileDate(std::uint32_t v) { return static_cast<CalendarTime>(v - kEpochDifference); }
}  // namespace

int CPalmDatabase::ReadBytes(const unsigned char* bytes, std::size_t size, std::size_t recordLimit) {
    return ReadOwnBytes(std::vector<unsigned char>(bytes, bytes + size), size, recordLimit);
}

std::size_t CPalmDatabase::BytesToRead(const unsigned char* bytes, std::size_t have, std::size_t fileSize,
                                       std::size_t recordLimit) {
    if (have < kHeaderSize) return std::min(fileSize, kHeaderSize);
    const std::size_t count = GetU16(bytes + 76);
    if (count <= recordLimit) return fileSize;
    const bool resource = (GetU16(bytes + 32) & kResourceAttribute) != 0;
    const std::size_t entrySize = resource ? CPalmDatabase::kResourceEntrySize : CPalmDatabase::kRecordEntrySize;
    const std::size_t listEnd = kHeaderSize + entrySize * count;
    if (have < listEnd) return std::min(fileSize, listEnd);
    // The category block and the records kept lie before the first record
    // not kept.
    const std::size_t notKept = GetU32(bytes + kHeaderSize + entrySize * recordLimit + (resource ? 6 : 0));
    return std::min(fileSize, std::max(listEnd, notKept));
}

int CPalmDatabase::ReadOwnBytes(std::vector<unsigned char> file, std::size_t size, std::size_t recordLimit) {
    if (Parse(file.data(), file.size(), size, recordLimit) != 0) return -1;
    m_data = std::move(file);
    return 0;
}

int CPalmDatabase::Parse(const unsigned char* bytes, std::size_t have, std::size_t size, std::size_t recordLimit) {
    *this = CPalmDatabase();
    if (size < kHeaderSize || BytesToRead(bytes, have, size, recordLimit) > have) return -1;
    const unsigned char* header = bytes;
    CPalmDatabase db;
    db.m_name = TextAt(header, kHeaderSize, 0, kNameSize);
    db.m_attributes = GetU16(&header[32]);
    db.m_resource = (db.m_attributes & kResourceAttribute) != 0;
    db.m_version = GetU16(&header[34]);
    db.m_creationDate = FromFileDate(GetU32(&header[36]));
    db.m_modificationDate = FromFileDate(GetU32(&header[40]));
    db.m_lastBackupDate = FromFileDate(GetU32(&header[44]));
    db.m_modificationNumber = GetU32(&header[48]);
    // 52 and 56, the application-info and sort-info offsets, play no part:
    // the category block is taken from right behind the gap.
    db.m_type = GetU32(&header[60]);
    db.m_creator = GetU32(&header[64]);
    db.m_uniqueIdSeed = GetU32(&header[68]);
    const std::size_t count = GetU16(&header[76]);

    const std::size_t entrySize = db.m_resource ? kResourceEntrySize : kRecordEntrySize;
    const std::size_t listEnd = kHeaderSize + entrySize * count;
    if (size < listEnd) return -1;

    // The whole list is checked, however few records are kept.  The records
    // kept are read from the list again as they are asked for (see
    // ListedRecord): a full list held apart would be a megabyte of fresh
    // memory.
    db.m_listedRecords = std::min(count, recordLimit);
    std::size_t previous = listEnd;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t offset = ListedOffset(bytes, db.m_resource, i);
        // Records lie one after another in list order, inside the file.
        if (offset < previous || offset > size) return -1;
        if (i == db.m_listedRecords) db.m_lastListedLength = static_cast<std::uint32_t>(offset - previous);
        previous = offset;
    }
    // The last record runs to the end of the file, cut at the working buffer.
    if (count > 0 && count == db.m_listedRecords)
        db.m_lastListedLength = static_cast<std::uint32_t>(std::min(size - previous, kWorkBufferSize));

    // Without records the gap and category block are whatever the file holds
    // behind the list, up to the block's end.
    const std::size_t firstOffset = count > 0 ? ListedOffset(bytes, db.m_resource, 0) : 0;
    const std::size_t span = count > 0 ? firstOffset - listEnd : std::min(size - listEnd, kGapSize + kCategoryBlockSize);
    if (span > kWorkBufferSize) return -1;
    if (span >= kGapSize + kCategoryBlockSize) {
        const unsigned char* block = bytes + listEnd + kGapSize;
        std::copy(block, block + kCategoryBlockSize, db.m_categoryBlock.begin());
    }

    *this = std::move(db);
    return 0;
}

CPalmDatabase::StoredRecord CPalmDatabase::ReadEntry(const unsigned char* entry) const {
    StoredRecord record;
    if (m_resource) {
        record.idOrType = GetU32(entry);
        record.resourceId = GetU16(entry + 4);
        record.dataAt = GetU32(entry + 6);
    } else {
        record.dataAt = GetU32(entry);
        record.attributes = entry[4];
        record.idOrType = static_cast<std::uint32_t>(entry[5] << 16 | entry[6] << 8 | entry[7]);
    }
    return record;
}

void CPalmDatabase::PutEntry(unsigned char* entry, const StoredRecord& record, std::uint32_t dataAt) const {
    if (m_resource) {
        PutU32(entry, record.idOrType);
        PutU16(entry + 4, record.resourceId);
        PutU32(entry + 6, dataAt);
    } else {
        PutU32(entry, dataAt);
        entry[4] = record.attributes;
        entry[5] = static_cast<unsigned char>(record.idOrType >> 16);
        entry[6] = static_cast<unsigned char>(record.idOrType >> 8);
        entry[7] = static_cast<unsigned char>(record.idOrType);
    }
}

CPalmDatabase::StoredRecord CPalmDatabase::ListedRecord(std::size_t index) const {
    const unsigned char* file = Bytes();
    StoredRecord record = ReadEntry(file + kHeaderSize + index * EntrySize());
    record.length = index + 1 < m_listedRecords
                        ? static_cast<std::uint32_t>(ListedOffset(file, m_resource, index + 1) - record.dataAt)
                        : m_lastListedLength;
    return record;
}

std::uint64_t CPalmDatabase::AddedEnd() const { return m_spool ? m_spool->GetSize() : m_data.size(); }

std::size_t CPalmDatabase::AddedCount() const {
    return (m_entrySpool ? m_entrySpool->GetSize() : m_addedEntries.size()) / EntrySize();
}

void CPalmDatabase::ReadAddedEntries(std::size_t first, std::size_t count, unsigned char* out) const {
    const std::size_t entrySize = EntrySize();
    if (m_entrySpool)
        m_entrySpool->ReadAt(first * entrySize, out, count * entrySize);
    else
        std::copy_n(m_addedEntries.data() + first * entrySize, count * entrySize, out);
}

CPalmDatabase::StoredRecord CPalmDatabase::AddedRecord(std::size_t index) const {
    // The record's entry, and the next one's where the record ends.
    std::array<unsigned char, 2 * kResourceEntrySize> entries;
    const bool last = index + 1 >= AddedCount();
    ReadAddedEntries(index, last ? 1 : 2, entries.data());
    StoredRecord record = ReadEntry(entries.data());
    const std::uint64_t end = last ? AddedEnd() : ReadEntry(entries.data() + EntrySize()).dataAt;
    record.length = static_cast<std::uint32_t>(end - record.dataAt);
    return record;
}

bool CPalmDatabase::FitsInFile() const {
    const std::size_t count = static_cast<std::size_t>(GetRecordCount());
    if (count > kMaxRecords) return false;
    const std::size_t entrySize = EntrySize();
    std::uint64_t total = kHeaderSize + entrySize * count + kGapSize + (HasAppInfo() ? kCategoryBlockSize : 0);
    for (std::size_t i = 0; i < m_listedRecords; ++i) total += ListedRecord(i).length;
    // The records added lie one after another: their bytes in all at once.
    if (AddedCount() > 0) total += AddedEnd() - AddedRecord(0).dataAt;
    const std::uint32_t lastLength = count > 0 ? StoredAt(count - 1).length : 0;
    // The last record may end at 2^32, but none may begin beyond the offsets' reach.
    return total - lastLength <= kLargestOffset;
}

void CPalmDatabase::WriteTo(const ByteSink& put) const {
    const std::size_t count = static_cast<std::size_t>(GetRecordCount());
    const std::size_t entrySize = EntrySize();
    const std::size_t listEnd = kHeaderSize + entrySize * count;
    const std::size_t dataStart = listEnd + kGapSize + (HasAppInfo() ? kCategoryBlockSize : 0);

    std::array<unsigned char, kHeaderSize> header{};
    PutText(header.data(), kNameSize, m_name);
    PutU16(&header[32], m_attributes);
    PutU16(&header[34], m_version);
    PutU32(&header[36], ToFileDate(m_creationDate));
    PutU32(&header[40], ToFileDate(m_modificationDate));
    PutU32(&header[44], ToFileDate(m_lastBackupDate));
    PutU32(&header[48], m_modificationNumber);
    PutU32(&header[52], HasAppInfo() ? static_cast<std::uint32_t>(listEnd + kGapSize) : 0);
    PutU32(&header[60], m_type);
    PutU32(&header[64], m_creator);
    PutU32(&header[68], m_uniqueIdSeed);
    PutU16(&header[76], static_cast<std::uint16_t>(count));
    put(header.data(), header.size());

    PutRecordList(put, dataStart);
    const std::array<unsigned char, kGapSize> gap{};
    put(gap.data(), gap.size());
    if (HasAppInfo()) put(m_categoryBlock.data(), m_categoryBlock.size());
    if (m_spool) {
        m_spool->CopyTo([&put](unsigned char* bytes, std::size_t size) { put(bytes, size); });
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const StoredRecord record = StoredAt(i);
        put(Bytes() + record.dataAt, record.length);
    }
}

void CPalmDatabase::PutRecordList(const ByteSink& put, std::size_t dataStart) const {
    const std::size_t entrySize = EntrySize();
    // Spooled records are all added ones, one after another from the
    // spool's start: each entry's offset moves on by where the data starts.
    if (m_entrySpool) {
        m_entrySpool->CopyTo(
            [&](unsigned char* entries, std::size_t size) {
                for (unsigned char* entry = entries; entry < entries + size; entry += entrySize) {
                    const StoredRecord record = ReadEntry(entry);
                    PutEntry(entry, record, static_cast<std::uint32_t>(dataStart + record.dataAt));
                }
                put(entries, size);
            },
            entrySize);
        return;
    }
    // A block of entries at a time: a full list held whole would be half a
    // megabyte of fresh memory.
    const std::size_t count = static_cast<std::size_t>(GetRecordCount());
    std::array<unsigned char, kListBlockEntries * kResourceEntrySize> block;
    std::size_t inBlock = 0;
    std::size_t nextData = dataStart;
    for (std::size_t i = 0; i < count; ++i) {
        const StoredRecord record = StoredAt(i);
        PutEntry(block.data() + inBlock * entrySize, record, static_cast<std::uint32_t>(nextData));
        nextData += record.length;
        if (++inBlock == kListBlockEntries) {
            put(block.data(), inBlock * entrySize);
            inBlock = 0;
        }
    }
    put(block.data(), inBlock * entrySize);
}

int CPalmDatabase::WriteBytes(std::vector<unsigned char>& bytes) const {
    bytes.clear();
    if (!FitsInFile()) return -1;
    WriteTo([&bytes](const unsigned char* data, std::size_t size) { bytes.insert(bytes.end(), data, data + size); });
    return 0;
}
