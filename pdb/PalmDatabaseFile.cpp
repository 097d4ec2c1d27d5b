// Reading and writing the database file: header, record list, gap, category
// block, record data.
#include "PalmDatabase.h"

#include "ByteFields.h"
#include "File.h"

#include <algorithm>
#include <utility>

using namespace bytefields;

namespace {
constexpr std::size_t kHeaderSize = 78;
constexpr std::size_t kGapSize = 2;
constexpr std::size_t kRecordEntrySize = 8;
constexpr std::size_t kResourceEntrySize = 10;
constexpr std::size_t kMaxRecords = 0xFFFF;  // the record count field is 16 bits
// Seconds from 1904-01-01, the file's epoch, to 1970-01-01.
constexpr std::uint32_t kEpochDifference = 2082844800u;

std::uint32_t ToFileDate(CalendarTime t) { return static_cast<std::uint32_t>(t) + kEpochDifference; }
CalendarTime FromFileDate(std::uint32_t v) { return static_cast<CalendarTime>(v - kEpochDifference); }

std::vector<unsigned char> ReadBytes(CFile& file, std::size_t count) {
    std::vector<unsigned char> bytes(count);
    if (count > 0) bytes.resize(file.Read(bytes.data(), count));
    return bytes;
}
}  // namespace

int CPalmDatabase::Read(const std::string& path) {
    *this = CPalmDatabase();
    CFile file;
    if (!file.Open(path, CFile::Mode::Read, CFile::Share::DenyWrite)) return -1;
    const std::uint64_t fileLength = file.GetLength();

    const std::vector<unsigned char> header = ReadBytes(file, kHeaderSize);
    if (header.size() < kHeaderSize) return -1;
    CPalmDatabase db;
    db.m_name = TextAt(header, 0, kNameSize);
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
    const std::uint64_t listEnd = kHeaderSize + entrySize * count;
    const std::vector<unsigned char> list = ReadBytes(file, entrySize * count);
    if (list.size() < entrySize * count) return -1;

    std::vector<std::uint32_t> offsets(count);
    db.m_records.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* entry = &list[i * entrySize];
        CPalmRecord& record = db.m_records[i];
        if (db.m_resource) {
            record.SetResourceType(GetU32(entry));
            record.SetResourceId(GetU16(entry + 4));
            offsets[i] = GetU32(entry + 6);
        } else {
            offsets[i] = GetU32(entry);
            record.SetAttributes(entry[4]);
            record.SetUniqueId(static_cast<std::uint32_t>(entry[5] << 16 | entry[6] << 8 | entry[7]));
        }
        // Records lie one after another in list order, inside the file.
        const std::uint64_t previous = i == 0 ? listEnd : offsets[i - 1];
        if (offsets[i] < previous || offsets[i] > fileLength) return -1;
    }

    // Without records the gap and category block are whatever the file holds
    // behind the list, up to the block's end.
    const std::uint64_t span =
        count > 0 ? offsets[0] - listEnd : std::min<std::uint64_t>(fileLength - listEnd, kGapSize + kCategoryBlockSize);
    if (span > kWorkBufferSize) return -1;
    const std::vector<unsigned char> gap = ReadBytes(file, static_cast<std::size_t>(span));
    if (gap.size() < span) return -1;
    if (gap.size() >= kGapSize + kCategoryBlockSize) {
        std::copy(gap.begin() + kGapSize, gap.begin() + kGapSize + kCategoryBlockSize, db.m_categoryBlock.begin());
        for (CPalmRecord& record : db.m_records) record.SetCategoryName(db.GetCategoryLabel(record.GetCategoryIndex()));
    }

    for (std::size_t i = 0; i + 1 < count; ++i) {
        const std::size_t length = offsets[i + 1] - offsets[i];
        std::vector<unsigned char> data = ReadBytes(file, length);
        if (data.size() < length) return -1;  // the file shrank while being read
        db.m_records[i].SetData(std::move(data));
    }
    if (count > 0) {
        // The last record runs to the end of the file, cut at the working buffer.
        std::vector<unsigned char> last = ReadBytes(file, kWorkBufferSize);
        db.m_records[count - 1].SetData(last.data(), last.size());
    }

    *this = std::move(db);
    return 0;
}

int CPalmDatabase::Write(const std::string& path) const {
    CFile file;
    if (!file.Open(path, CFile::Mode::CreateTruncate, CFile::Share::DenyWrite)) return -1;
    const std::size_t count = std::min(m_records.size(), kMaxRecords);
    const std::size_t entrySize = m_resource ? kResourceEntrySize : kRecordEntrySize;
    const std::uint32_t listEnd = static_cast<std::uint32_t>(kHeaderSize + entrySize * count);

    unsigned char header[kHeaderSize] = {};
    PutText(header, kNameSize, m_name);
    PutU16(header + 32, m_attributes);
    PutU16(header + 34, m_version);
    PutU32(header + 36, ToFileDate(m_creationDate));
    PutU32(header + 40, ToFileDate(m_modificationDate));
    PutU32(header + 44, ToFileDate(m_lastBackupDate));
    PutU32(header + 48, m_modificationNumber);
    PutU32(header + 52, HasAppInfo() ? listEnd + static_cast<std::uint32_t>(kGapSize) : 0);
    PutU32(header + 60, m_type);
    PutU32(header + 64, m_creator);
    PutU32(header + 68, m_uniqueIdSeed);
    PutU16(header + 76, static_cast<std::uint16_t>(count));
    file.Write(header, kHeaderSize);

    std::uint32_t nextData =
        listEnd + static_cast<std::uint32_t>(kGapSize + (HasAppInfo() ? kCategoryBlockSize : 0));
    for (std::size_t i = 0; i < count; ++i) {
        const CPalmRecord& record = m_records[i];
        unsigned char entry[kResourceEntrySize] = {};
        if (m_resource) {
            PutU32(entry, record.GetResourceType());
            PutU16(entry + 4, record.GetResourceId());
            PutU32(entry + 6, nextData);
        } else {
            PutU32(entry, nextData);
            entry[4] = record.GetAttributes();
            entry[5] = static_cast<unsigned char>(record.GetUniqueId() >> 16);
            entry[6] = static_cast<unsigned char>(record.GetUniqueId() >> 8);
            entry[7] = static_cast<unsigned char>(record.GetUniqueId());
        }
        file.Write(entry, entrySize);
        nextData += record.GetLength();
    }

    const unsigned char gap[kGapSize] = {0, 0};
    file.Write(gap, kGapSize);
    if (HasAppInfo()) file.Write(m_categoryBlock.data(), m_categoryBlock.size());
    for (std::size_t i = 0; i < count; ++i)
        if (m_records[i].GetLength() > 0) file.Write(m_records[i].GetData().data(), m_records[i].GetLength());
    file.Close();  // the last writes' errors show here
    return 0;
}
