#include "CompoundFileReader.h"

#include "CompoundFile.h"

#include <algorithm>
#include <cstring>

namespace workbook {
namespace {

using namespace compound;

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool SameName(const std::u16string& a, const std::u16string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
}

std::vector<std::uint32_t> Entries(const Bytes& bytes) {
    std::vector<std::uint32_t> out(bytes.size() / 4);
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = GetU32(&bytes[i * 4]);
    return out;
}

}  // namespace

bool CompoundFileReader::Open(const std::uint8_t* data, std::size_t size, std::string& error) {
    m_data = data;
    m_size = size;
    m_fat.clear();
    m_entries.clear();
    if (size < kHeaderSize || std::memcmp(data, kSignature, sizeof kSignature) != 0) {
        error = size >= 2 && data[0] == 'P' && data[1] == 'K'
                    ? "an Excel 2007 or later workbook (.xlsx); only Excel 97-2003 workbooks are read"
                    : "not an Excel 97-2003 workbook: no compound file header";
        return false;
    }
    const unsigned sectorShift = GetU16(data + 30);
    if (GetU16(data + 28) != 0xFFFE || (sectorShift != 9 && sectorShift != 12) || GetU16(data + 32) != 6) {
        error = "compound file header with unknown byte order or sector sizes";
        return false;
    }
    m_sectorSize = 1u << sectorShift;
    // Sector n starts at (n + 1) * sector size; a last sector cut short still
    // counts, reads check the file's end themselves.
    m_sectorCount = size > m_sectorSize ? static_cast<std::uint32_t>((size - 1) / m_sectorSize) : 0;
    m_miniCutoff = GetU32(data + 56);
    m_miniFatStart = GetU32(data + 60);
    return ReadFat(error) && ReadDirectory(GetU32(data + 48), error);
}

bool CompoundFileReader::ReadFat(std::string& error) {
    const std::uint32_t fatSectors = GetU32(m_data + 44);
    if (fatSectors > m_sectorCount) {
        error = "compound file with more FAT sectors than the file holds";
        return false;
    }
    std::vector<std::uint32_t> fatSectorList;
    for (unsigned i = 0; i < kHeaderFatEntries && fatSectorList.size() < fatSectors; ++i)
        fatSectorList.push_back(GetU32(m_data + 76 + 4 * i));
    // The DIFAT goes on in a chain of sectors, each ending with the next one.
    const unsigned perSector = m_sectorSize / 4 - 1;
    std::uint32_t difat = GetU32(m_data + 68);
    for (std::uint32_t visited = 0; fatSectorList.size() < fatSectors; ++visited) {
        if (difat >= m_sectorCount || visited >= m_sectorCount) {
            error = "compound file whose FAT sector list (DIFAT) leaves the file or loops";
            return false;
        }
        const std::uint8_t* sector = m_data + (static_cast<std::size_t>(difat) + 1) * m_sectorSize;
        if (sector + m_sectorSize > m_data + m_size) {
            error = "compound file cut short inside its FAT sector list";
            return false;
        }
        for (unsigned i = 0; i < perSector && fatSectorList.size() < fatSectors; ++i)
            fatSectorList.push_back(GetU32(sector + 4 * i));
        difat = GetU32(sector + 4 * perSector);
    }
    const unsigned perFatSector = m_sectorSize / 4;
    m_fat.reserve(static_cast<std::size_t>(fatSectors) * perFatSector);
    for (std::uint32_t s : fatSectorList) {
        const std::size_t offset = (static_cast<std::size_t>(s) + 1) * m_sectorSize;
        if (s >= m_sectorCount || offset + m_sectorSize > m_size) {
            error = "compound file whose FAT lies outside the file";
            return false;
        }
        for (unsigned i = 0; i < perFatSector; ++i) m_fat.push_back(GetU32(m_data + offset + 4 * i));
    }
    if (m_fat.size() > m_sectorCount) m_fat.resize(m_sectorCount);
    return true;
}

bool CompoundFileReader::ReadDirectory(std::uint32_t first, std::string& error) {
    Bytes bytes;
    if (!ReadRegular(first, std::uint64_t(-1), bytes, error)) {
        error = "compound file directory: " + error;
        return false;
    }
    const bool version3 = m_sectorSize == 512;
    for (std::size_t at = 0; at + kDirectoryEntrySize <= bytes.size(); at += kDirectoryEntrySize) {
        const std::uint8_t* p = &bytes[at];
        Entry entry;
        const unsigned nameBytes = GetU16(p + 64);
        if (nameBytes >= 2 && nameBytes <= 64 && nameBytes % 2 == 0)
            for (unsigned i = 0; i + 2 < nameBytes; i += 2) entry.name += static_cast<char16_t>(GetU16(p + i));
        entry.type = p[66];
        entry.left = GetU32(p + 68);
        entry.right = GetU32(p + 72);
        entry.child = GetU32(p + 76);
        entry.start = GetU32(p + 116);
        // Version 3 files may leave garbage in the size's upper half.
        entry.size = version3 ? GetU32(p + 120) : GetU64(p + 120);
        m_entries.push_back(std::move(entry));
    }
    if (m_entries.empty() || m_entries[0].type != kRootEntry) {
        error = "compound file without a root directory entry";
        return false;
    }
    return true;
}

bool CompoundFileReader::ReadChain(std::uint32_t first, const std::vector<std::uint32_t>& table,
                                   std::vector<std::uint32_t>& chain, std::string& error) const {
    chain.clear();
    for (std::uint32_t sector = first; sector != kEndOfChain; sector = table[sector]) {
        if (sector >= table.size()) {
            error = "a sector chain leaves the file";
            return false;
        }
        if (chain.size() >= table.size()) {
            error = "a sector chain loops";
            return false;
        }
        chain.push_back(sector);
    }
    return true;
}

// size -1: the whole chain (the directory's length is its chain's).
bool CompoundFileReader::ReadRegular(std::uint32_t first, std::uint64_t size, Bytes& out, std::string& error) const {
    std::vector<std::uint32_t> chain;
    if (!ReadChain(first, m_fat, chain, error)) return false;
    const std::uint64_t chainBytes = static_cast<std::uint64_t>(chain.size()) * m_sectorSize;
    if (size == std::uint64_t(-1)) size = chainBytes;
    if (size > chainBytes) {
        error = "a stream is longer than its sector chain";
        return false;
    }
    out.clear();
    out.reserve(static_cast<std::size_t>(size));
    for (std::uint32_t sector : chain) {
        if (out.size() == size) break;
        const std::size_t offset = (static_cast<std::size_t>(sector) + 1) * m_sectorSize;
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(m_sectorSize, size - out.size()));
        if (offset + count > m_size) {
            error = "a stream runs past the end of the file";
            return false;
        }
        out.insert(out.end(), m_data + offset, m_data + offset + count);
    }
    return true;
}

bool CompoundFileReader::ReadSmall(const Entry& entry, Bytes& out, std::string& error) const {
    Bytes miniStream, miniFatBytes;
    if (!ReadRegular(m_entries[0].start, m_entries[0].size, miniStream, error) ||
        !ReadRegular(m_miniFatStart, std::uint64_t(-1), miniFatBytes, error)) {
        error = "compound file mini stream: " + error;
        return false;
    }
    std::vector<std::uint32_t> miniFat = Entries(miniFatBytes);
    std::vector<std::uint32_t> chain;
    if (!ReadChain(entry.start, miniFat, chain, error)) return false;
    if (entry.size > static_cast<std::uint64_t>(chain.size()) * kMiniSectorSize) {
        error = "a stream is longer than its mini sector chain";
        return false;
    }
    out.clear();
    out.reserve(static_cast<std::size_t>(entry.size));
    for (std::uint32_t sector : chain) {
        if (out.size() == entry.size) break;
        const std::size_t offset = static_cast<std::size_t>(sector) * kMiniSectorSize;
        const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(kMiniSectorSize, entry.size - out.size()));
        if (offset + count > miniStream.size()) {
            error = "a stream runs past the end of the mini stream";
            return false;
        }
        out.insert(out.end(), miniStream.begin() + offset, miniStream.begin() + offset + count);
    }
    return true;
}

const CompoundFileReader::Entry* CompoundFileReader::FindInRoot(const std::u16string& name) const {
    // The root's children form a tree through their sibling links; a damaged
    // tree may link back, so every entry is visited at most once.
    std::vector<bool> visited(m_entries.size());
    std::vector<std::uint32_t> pending{m_entries[0].child};
    while (!pending.empty()) {
        const std::uint32_t id = pending.back();
        pending.pop_back();
        if (id >= m_entries.size() || visited[id]) continue;
        visited[id] = true;
        const Entry& entry = m_entries[id];
        if (entry.type == kStreamEntry && SameName(entry.name, name)) return &entry;
        pending.push_back(entry.left);
        pending.push_back(entry.right);
    }
    return nullptr;
}

bool CompoundFileReader::HasStream(const std::u16string& name) const {
    return !m_entries.empty() && FindInRoot(name) != nullptr;
}

bool CompoundFileReader::ReadStream(const std::u16string& name, Bytes& stream, std::string& error) const {
    const Entry* entry = m_entries.empty() ? nullptr : FindInRoot(name);
    if (!entry) {
        error = "compound file without the stream it needs";
        return false;
    }
    if (entry->size > m_size) {
        error = "a stream longer than the whole file";
        return false;
    }
    return entry->size < m_miniCutoff ? ReadSmall(*entry, stream, error) : ReadRegular(entry->start, entry->size, stream, error);
}

bool CompoundFileReader::ViewStream(const std::u16string& name, Bytes& storage, const std::uint8_t*& data,
                                    std::size_t& size, std::string& error) const {
    const Entry* entry = m_entries.empty() ? nullptr : FindInRoot(name);
    std::vector<std::uint32_t> chain;
    if (entry && entry->size <= m_size && entry->size >= m_miniCutoff && ReadChain(entry->start, m_fat, chain, error)) {
        const std::uint64_t sectors = (entry->size + m_sectorSize - 1) / m_sectorSize;
        const std::uint64_t offset = chain.empty() ? 0 : (static_cast<std::uint64_t>(chain[0]) + 1) * m_sectorSize;
        bool together = sectors <= chain.size() && offset + entry->size <= m_size;
        for (std::size_t i = 1; together && i < sectors; ++i) together = chain[i] == chain[0] + i;
        if (together) {
            data = m_data + offset;
            size = static_cast<std::size_t>(entry->size);
            return true;
        }
    }
    // Everything else, damage included, the way ReadStream reads and tells it.
    error.clear();
    if (!ReadStream(name, storage, error)) return false;
    data = storage.data();
    size = storage.size();
    return true;
}

}  // namespace workbook
