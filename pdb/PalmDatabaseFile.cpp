// Fetching and storing the database file: the file object moves the bytes,
// PalmDatabaseBytes.cpp gives them their meaning.
#include "PalmDatabase.h"

#include "File.h"

#include <utility>

int CPalmDatabase::Read(const std::string& path, std::size_t recordLimit) {
    *this = CPalmDatabase();
    CFile file;
    if (!file.Open(path, CFile::Mode::Read, CFile::Share::DenyWrite)) return -1;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(file.GetLength()));
    // A file that shrinks while it is read is taken as far as it goes.
    if (!bytes.empty()) bytes.resize(file.Read(bytes.data(), bytes.size()));
    return ReadOwnBytes(std::move(bytes), recordLimit);
}

int CPalmDatabase::Write(const std::string& path) const {
    // The head, then each record's bytes straight from where they are kept.
    std::vector<unsigned char> head;
    if (WriteHead(head) != 0) return -1;
    CFile file;
    if (!file.Open(path, CFile::Mode::CreateTruncate, CFile::Share::DenyWrite)) return -1;
    file.Write(head.data(), head.size());
    for (const StoredRecord& record : m_records) file.Write(m_data.data() + record.dataAt, record.length);
    file.Close();  // the last writes' errors show here
    return 0;
}
