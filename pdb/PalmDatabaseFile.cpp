// Fetching and storing the database file: the file object moves the bytes,
// PalmDatabaseBytes.cpp gives them their meaning.
#include "PalmDatabase.h"

#include "File.h"

int CPalmDatabase::Read(const std::string& path) {
    *this = CPalmDatabase();
    CFile file;
    if (!file.Open(path, CFile::Mode::Read, CFile::Share::DenyWrite)) return -1;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(file.GetLength()));
    // A file that shrinks while it is read is taken as far as it goes.
    if (!bytes.empty()) bytes.resize(file.Read(bytes.data(), bytes.size()));
    return ReadBytes(bytes.data(), bytes.size());
}

int CPalmDatabase::Write(const std::string& path) const {
    std::vector<unsigned char> bytes;
    if (WriteBytes(bytes) != 0) return -1;
    CFile file;
    if (!file.Open(path, CFile::Mode::CreateTruncate, CFile::Share::DenyWrite)) return -1;
    file.Write(bytes.data(), bytes.size());
    file.Close();  // the last writes' errors show here
    return 0;
}
