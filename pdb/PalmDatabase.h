#pragma once
#include "LocalTime.h"
#include "PalmRecord.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A four-character database code ("DATA", "RtLg"), first character in the
// most significant byte.
constexpr std::uint32_t MakePalmCode(const char (&code)[5]) {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[3]));
}

// One handheld database file held whole in memory: header, records in file
// order and the 276-byte category block.  Either built for writing (name and
// codes, AddRecord, Write) or loaded (default construction, Read).
class CPalmDatabase {
public:
    static constexpr std::size_t kCategoryCount = 16;
    static constexpr std::size_t kCategoryLabelSize = 16;  // 15 characters and a NUL
    static constexpr std::size_t kCategoryBlockSize = 276;
    static constexpr std::size_t kNameSize = 32;            // 31 characters and a NUL
    static constexpr std::size_t kWorkBufferSize = 100000;  // largest gap, largest last record
    static constexpr std::size_t kMaxRecords = 0xFFFF;      // the record count field is 16 bits
    static constexpr std::uint16_t kResourceAttribute = 0x0001;
    static constexpr std::uint16_t kBackupAttribute = 0x0008;

    CPalmDatabase() = default;
    // A new database: backup bit set (and the resource bit for a resource
    // database), all three dates now, no records, empty category block.
    CPalmDatabase(std::string name, std::uint32_t creator, std::uint32_t type, bool resource);
    virtual ~CPalmDatabase() = default;

    // 0 when read; -1 when the file cannot be opened or is no well-formed
    // database.  A read error of the system raises CFileException.  On -1 the
    // database is left empty.
    int Read(const std::string& path);
    // 0 when written; -1, and no file, when the database cannot be held whole
    // in a file (more than kMaxRecords records, or data beyond the 32-bit
    // offsets' reach) or the file cannot be created.  A write error of the
    // system raises CFileException.
    int Write(const std::string& path) const;

    // The same on the file's bytes in memory: Read and Write only fetch and
    // store them.  ReadBytes never looks past size bytes.
    int ReadBytes(const unsigned char* bytes, std::size_t size);
    // The whole file into bytes; -1, bytes empty, when it cannot be held whole.
    int WriteBytes(std::vector<unsigned char>& bytes) const;

    // Appends a copy; a record with a category name gets that category's
    // index in its low attribute nibble, the high nibble stays.
    void AddRecord(CPalmRecord record);
    int GetRecordCount() const { return static_cast<int>(m_records.size()); }
    // A copy of record index; an empty record when index is out of range.
    CPalmRecord GetRecord(int index) const;

    // The category block counts as present when label 0 is not empty.
    bool HasAppInfo() const { return m_categoryBlock[2] != 0; }
    // Index of the category of that name (exact, case-sensitive), added in
    // the first free slot when new; 0 when all sixteen are taken.  Names are
    // cut to 15 characters.
    std::uint8_t FindOrAddCategory(const std::string& name);
    // Label of category index (0-15); empty for an unused slot or a bad index.
    std::string GetCategoryLabel(int index) const;
    const std::array<unsigned char, kCategoryBlockSize>& GetCategoryBlock() const { return m_categoryBlock; }

    const std::string& GetName() const { return m_name; }
    std::uint32_t GetCreator() const { return m_creator; }
    std::uint32_t GetType() const { return m_type; }
    std::uint16_t GetAttributes() const { return m_attributes; }
    void SetAttributes(std::uint16_t attributes) { m_attributes = attributes; }
    std::uint16_t GetVersion() const { return m_version; }
    void SetVersion(std::uint16_t version) { m_version = version; }
    CalendarTime GetCreationDate() const { return m_creationDate; }
    void SetCreationDate(CalendarTime t) { m_creationDate = t; }
    CalendarTime GetModificationDate() const { return m_modificationDate; }
    void SetModificationDate(CalendarTime t) { m_modificationDate = t; }
    CalendarTime GetLastBackupDate() const { return m_lastBackupDate; }
    void SetLastBackupDate(CalendarTime t) { m_lastBackupDate = t; }
    std::uint32_t GetModificationNumber() const { return m_modificationNumber; }
    void SetModificationNumber(std::uint32_t n) { m_modificationNumber = n; }
    std::uint32_t GetUniqueIdSeed() const { return m_uniqueIdSeed; }
    void SetUniqueIdSeed(std::uint32_t seed) { m_uniqueIdSeed = seed; }
    bool IsResourceDatabase() const { return m_resource; }

private:
    std::array<unsigned char, kCategoryBlockSize> m_categoryBlock{};
    std::vector<CPalmRecord> m_records;
    std::string m_name;
    std::uint32_t m_creator = 0;
    std::uint32_t m_type = 0;
    CalendarTime m_creationDate = 0;
    CalendarTime m_modificationDate = 0;
    CalendarTime m_lastBackupDate = 0;
    std::uint16_t m_attributes = 0;
    std::uint32_t m_modificationNumber = 0;
    std::uint16_t m_version = 0;
    std::uint32_t m_uniqueIdSeed = 0;
    bool m_resource = false;
};
