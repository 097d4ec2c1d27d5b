#pragma once
#include "LocalTime.h"
#include "PalmRecord.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CMappedFile;
class CSpoolFile;

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
// The records' bytes are kept one after another in one buffer (a loaded
// database keeps the file's bytes as they came; one built to be written may
// keep them in a temporary file, see SpoolRecords): a buffer of its own for
// each of up to 65,535 records made reading and writing a full database cost
// several times the work on its contents, most of it the system handing out
// fresh memory.
class CPalmDatabase {
public:
    static constexpr std::size_t kCategoryCount = 16;
    static constexpr std::size_t kCategoryLabelSize = 16;  // 15 characters and a NUL
    static constexpr std::size_t kCategoryBlockSize = 276;
    static constexpr std::size_t kNameSize = 32;            // 31 characters and a NUL
    static constexpr std::size_t kWorkBufferSize = 100000;  // largest gap, largest last record
    static constexpr std::size_t kMaxRecords = 0xFFFF;      // the record count field is 16 bits
    static constexpr std::size_t kRecordEntrySize = 8;      // of the record list
    static constexpr std::size_t kResourceEntrySize = 10;
    static constexpr std::uint16_t kResourceAttribute = 0x0001;
    static constexpr std::uint16_t kBackupAttribute = 0x0008;

    CPalmDatabase();
    // A database may hold a file's worth of records, some of them in a
    // temporary file of its own: it moves, it is not copied.
    CPalmDatabase(const CPalmDatabase&) = delete;
    CPalmDatabase& operator=(const CPalmDatabase&) = delete;
    CPalmDatabase(CPalmDatabase&&) noexcept;
    CPalmDatabase& operator=(CPalmDatabase&&) noexcept;
    ~CPalmDatabase();
    // A new database: backup bit set (and the resource bit for a resource
    // database), all three dates now, no records, empty category block.
    CPalmDatabase(std::string name, std::uint32_t creator, std::uint32_t type, bool resource);

    // 0 when read; -1 when the file cannot be opened or is no well-formed
    // database.  A read error of the system raises CFileException.  On -1 the
    // database is left empty.  With a record limit only the first records up
    // to it are held (the car record alone, say); the file must still be
    // well-formed as a whole.
    int Read(const std::string& path, std::size_t recordLimit = kMaxRecords);
    // Read, the records left in the file and seen through a read-only mapping
    // (read as Read does where the file cannot be mapped): a full database,
    // or even its record list alone, read into memory of the program's own
    // costs more than a pass over its records.  Others cannot write the file
    // until this database is read again, emptied or gone: for a look that
    // ends soon (an export, the car record of the present database).
    int ReadInPlace(const std::string& path, std::size_t recordLimit = kMaxRecords);
    // 0 when written; -1, and no file, when the database cannot be held whole
    // in a file (more than kMaxRecords records, or data beyond the 32-bit
    // offsets' reach) or the file cannot be created.  A write error of the
    // system raises CFileException.
    int Write(const std::string& path) const;

    // The same on the file's bytes in memory: Read and Write only fetch and
    // store them.  ReadBytes never looks past size bytes.
    int ReadBytes(const unsigned char* bytes, std::size_t size, std::size_t recordLimit = kMaxRecords);
    // The whole file into bytes; -1, bytes empty, when it cannot be held whole.
    int WriteBytes(std::vector<unsigned char>& bytes) const;

    // Appends a copy; a record with a category name gets that category's
    // index in its low attribute nibble, the high nibble stays.  Record data
    // past 4 GB in all raises std::length_error.
    void AddRecord(const CPalmRecord& record);
    // A record of a record database from its bytes, with those attributes
    // (the category index in the low nibble) and unique id 0: what an
    // import packs goes over without a CPalmRecord of its own.
    void AddRecord(const unsigned char* data, std::size_t size, std::uint8_t attributes);
    // The records added from now on, their bytes and list entries, go to
    // temporary files of their own instead of memory, for a database built
    // to be written: a full log's records touching 2.5 MB of fresh memory
    // cost more than writing them to a file and reading them back.  False,
    // and nothing changed, when the database holds records already or no
    // temporary file can be made.
    bool SpoolRecords();
    // Room for that many more records of that many data bytes in all, so that
    // adding them moves nothing (more than the records added may be asked:
    // room not taken costs no memory the system has to hand out).
    void Reserve(std::size_t records, std::size_t dataBytes);
    int GetRecordCount() const { return static_cast<int>(m_listedRecords + AddedCount()); }
    // A copy of record index, named by the label of its category; an empty
    // record when index is out of range.
    CPalmRecord GetRecord(int index) const;

    // A record's bytes where a database read from a file holds them (in
    // place or in memory), and its attributes: a pass over every record
    // without a copy of each.  Valid while the database is unchanged; empty
    // for a bad index and for records in a spool.
    struct RecordView {
        const unsigned char* data = nullptr;
        std::size_t size = 0;
        std::uint8_t attributes = 0;
    };
    RecordView ViewRecord(int index) const;
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
    // A record: its place in the bytes and what the record list says of it.
    // Offsets in the file are 32 bits, and so is the record data a database
    // holds.
    struct StoredRecord {
        std::uint32_t dataAt = 0;
        std::uint32_t length = 0;
        std::uint32_t idOrType = 0;  // the unique id, or a resource's type
        std::uint16_t resourceId = 0;
        std::uint8_t attributes = 0;
    };

    // How much of the front of a file of fileSize bytes a read keeping
    // recordLimit records takes, as far as the first have bytes tell.
    static std::size_t BytesToRead(const unsigned char* bytes, std::size_t have, std::size_t fileSize,
                                   std::size_t recordLimit);
    // ReadBytes on the front of a file (at least what BytesToRead asks) that
    // this database may keep.
    int ReadOwnBytes(std::vector<unsigned char> front, std::size_t fileSize, std::size_t recordLimit);
    // The same on bytes kept elsewhere (m_data or the mapping, set by the caller).
    int Parse(const unsigned char* front, std::size_t have, std::size_t fileSize, std::size_t recordLimit);
    // The file's bytes as read, followed by any records added.
    const unsigned char* Bytes() const;
    // Record index: one of the file's record list, or one added after them.
    StoredRecord StoredAt(std::size_t index) const;
    // Record index of the file's record list, as read.
    StoredRecord ListedRecord(std::size_t index) const;
    // Record index of those added, from m_addedEntries or the entry spool.
    StoredRecord AddedRecord(std::size_t index) const;
    // The record's bytes after those held and its entry after theirs.
    void AddStored(const StoredRecord& stored, const unsigned char* data, std::size_t size);
    std::size_t EntrySize() const { return m_resource ? kResourceEntrySize : kRecordEntrySize; }
    std::size_t AddedCount() const;
    // count entries of the records added from first on, into out.
    void ReadAddedEntries(std::size_t first, std::size_t count, unsigned char* out) const;
    // Where the bytes of the records added end, in m_data or the spool.
    std::uint64_t AddedEnd() const;
    // An entry of a record list (no length: the next entry's offset gives it).
    StoredRecord ReadEntry(const unsigned char* entry) const;
    void PutEntry(unsigned char* entry, const StoredRecord& record, std::uint32_t dataAt) const;
    // Into m_data, before records are added to a database read in place.
    void CopyMappedBytes();
    // At most kMaxRecords records, none beginning beyond the 32-bit offsets'
    // reach.
    bool FitsInFile() const;
    // The file's bytes in order, a piece at a time, into put; for a database
    // that FitsInFile.
    using ByteSink = std::function<void(const unsigned char* bytes, std::size_t size)>;
    void WriteTo(const ByteSink& put) const;
    // The record list, the first record's bytes at dataStart in the file.
    void PutRecordList(const ByteSink& put, std::size_t dataStart) const;

    std::array<unsigned char, kCategoryBlockSize> m_categoryBlock{};
    // The records kept of the file's record list, which stays in the bytes;
    // the last one's length, which the list does not give when it is the
    // file's last record.
    std::size_t m_listedRecords = 0;
    std::uint32_t m_lastListedLength = 0;
    // The record list entries of the records added after those, as the
    // file's list holds them (8 bytes a record, half the size of a
    // StoredRecord) but with offsets into m_data or the spool.  The added
    // records lie one after another, so a record ends where the next one
    // begins and the last where the bytes held end.
    std::vector<unsigned char> m_addedEntries;
    std::vector<unsigned char> m_data;
    // Where the added records' bytes and their entries are instead of m_data
    // and m_addedEntries after SpoolRecords (a full log's list is half a
    // megabyte), the entries' offsets counted from the spool's start.
    std::unique_ptr<CSpoolFile> m_spool;
    std::unique_ptr<CSpoolFile> m_entrySpool;
    // The file in place, instead of m_data, after ReadInPlace; copies of the
    // database share it.  Adding a record first copies its bytes to m_data.
    std::shared_ptr<const CMappedFile> m_mapped;
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
