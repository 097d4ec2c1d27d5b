// Fetching and storing the database file: the file object moves the bytes,
// PalmDatabaseBytes.cpp gives them their meaning.
#include "PalmDatabase.h"

#include "File.h"
#include "MappedFile.h"

#include <utility>

int CPalmDatabase::Read(const std::string& path, std::size_t recordLimit) {
    *this = CPalmDatabase();
    CFile file;
    if (!file.Open(path, CFile::Mode::Read, CFile::Share::DenyWrite)) return -1;
    // Only the front that the records kept need is read: the header, then
    // the record list, then up to the first record not kept.
    auto fileSize = static_cast<std::size_t>(file.GetLength());
    std::vector<unsigned char> bytes;
    for (std::size_t needed = BytesToRead(nullptr, 0, fileSize, recordLimit); needed > bytes.size();
         needed = BytesToRead(bytes.data(), bytes.size(), fileSize, recordLimit)) {
        const std::size_t have = bytes.size();
        bytes.resize(needed);
        const std::size_t got = file.Read(bytes.data() + have, needed - have);
        if (got < needed - have) {
            // A file that shrinks while it is read is taken as far as it goes.
            bytes.resize(have + got);
            fileSize = bytes.size();
            break;
        }
    }
    return ReadOwnBytes(std::move(bytes), fileSize, recordLimit);
}

int CPalmDatabase::ReadInPlace(const std::string& path, std::size_t recordLimit) {
    auto mapped = std::make_shared<const CMappedFile>(path);
    if (!mapped->View()) return Read(path, recordLimit);
    if (Parse(mapped->View(), mapped->Size(), mapped->Size(), recordLimit) != 0) return -1;
    m_mapped = std::move(mapped);
    return 0;
}

int CPalmDatabase::Write(const std::string& path) const {
    if (!FitsInFile()) return -1;
    CFile file;
    if (!file.Open(path, CFile::Mode::CreateTruncate, CFile::Share::DenyWrite)) return -1;
    WriteTo([&file](const unsigned char* bytes, std::size_t size) { file.Write(bytes, size); });
    file.Close();  // the last writes' errors show here
    return 0;
}
