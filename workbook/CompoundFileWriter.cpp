#include "CompoundFileWriter.h"

#include "CompoundFile.h"

#include <algorithm>

namespace workbook {
namespace {

using namespace compound;

constexpr unsigned kSectorSize = 512;
constexpr unsigned kEntriesPerSector = kSectorSize / 4;
constexpr unsigned kDirectoryEntries = kSectorSize / kDirectoryEntrySize;

std::uint32_t SectorsFor(std::size_t bytes) {
    return static_cast<std::uint32_t>((bytes + kSectorSize - 1) / kSectorSize);
}

void PutDirectoryEntry(Bytes& out, const std::u16string& name, EntryType type, std::uint32_t child,
                       std::uint32_t start, std::uint32_t size) {
    const std::size_t at = out.size();
    for (char16_t c : name) PutU16(out, c);
    out.resize(at + 64, 0);
    PutU16(out, name.empty() ? 0 : static_cast<unsigned>(name.size() + 1) * 2);
    PutU8(out, type);
    PutU8(out, 1);  // black: the tree is one node deep
    PutU32(out, kNoEntry);
    PutU32(out, kNoEntry);
    PutU32(out, child);
    out.resize(out.size() + 16 + 4 + 16, 0);  // class id, state bits, times
    PutU32(out, start);
    PutU32(out, size);
    PutU32(out, 0);
}

}  // namespace

Bytes WriteCompoundFile(const std::u16string& streamName, Bytes stream) {
    if (stream.size() < kMiniStreamCutoff) stream.resize(kMiniStreamCutoff, 0);
    const std::uint32_t streamSectors = SectorsFor(stream.size());
    const std::uint32_t directorySectors = 1;

    // The FAT covers every sector, its own and those of the DIFAT included.
    std::uint32_t fatSectors = 1, difatSectors = 0;
    for (;;) {
        const std::uint32_t total = streamSectors + directorySectors + fatSectors + difatSectors;
        const std::uint32_t neededFat = (total + kEntriesPerSector - 1) / kEntriesPerSector;
        const std::uint32_t neededDifat =
            neededFat > kHeaderFatEntries ? (neededFat - kHeaderFatEntries + kEntriesPerSector - 2) / (kEntriesPerSector - 1) : 0;
        if (neededFat == fatSectors && neededDifat == difatSectors) break;
        fatSectors = std::max(fatSectors, neededFat);
        difatSectors = std::max(difatSectors, neededDifat);
    }
    const std::uint32_t directoryStart = streamSectors;
    const std::uint32_t fatStart = directoryStart + directorySectors;
    const std::uint32_t difatStart = fatStart + fatSectors;

    // The header goes in front of the stream, which then takes the
    // directory, the FAT and the DIFAT after it: the file is built in the
    // stream's own memory, not copied.
    Bytes file;
    file.reserve(kHeaderSize);
    for (std::uint8_t byte : kSignature) PutU8(file, byte);
    file.resize(24, 0);  // class id
    PutU16(file, 0x003E);  // minor version
    PutU16(file, 0x0003);  // major version 3: 512-byte sectors
    PutU16(file, 0xFFFE);  // little-endian
    PutU16(file, 9);       // sector size 2^9
    PutU16(file, 6);       // mini sector size 2^6
    file.resize(40, 0);
    PutU32(file, 0);  // directory sector count: always 0 in version 3
    PutU32(file, fatSectors);
    PutU32(file, directoryStart);
    PutU32(file, 0);  // transactions
    PutU32(file, kMiniStreamCutoff);
    PutU32(file, kEndOfChain);  // no mini FAT
    PutU32(file, 0);
    PutU32(file, difatSectors ? difatStart : kEndOfChain);
    PutU32(file, difatSectors);
    for (std::uint32_t i = 0; i < kHeaderFatEntries; ++i) PutU32(file, i < fatSectors ? fatStart + i : kFreeSector);

    const auto streamSize = static_cast<std::uint32_t>(stream.size());
    stream.reserve(kHeaderSize + static_cast<std::size_t>(difatStart + difatSectors) * kSectorSize);
    stream.resize(static_cast<std::size_t>(streamSectors) * kSectorSize, 0);
    stream.insert(stream.begin(), file.begin(), file.end());
    file = std::move(stream);

    PutDirectoryEntry(file, u"Root Entry", kRootEntry, 1, kEndOfChain, 0);
    PutDirectoryEntry(file, streamName, kStreamEntry, kNoEntry, 0, streamSize);
    for (unsigned i = 2; i < kDirectoryEntries; ++i) PutDirectoryEntry(file, u"", kUnusedEntry, kNoEntry, 0, 0);

    for (std::uint32_t sector = 0; sector < fatSectors * kEntriesPerSector; ++sector) {
        std::uint32_t next = kFreeSector;
        if (sector + 1 < streamSectors) next = sector + 1;
        else if (sector + 1 == streamSectors || sector == directoryStart) next = kEndOfChain;
        else if (sector >= fatStart && sector < difatStart) next = kFatSector;
        else if (sector >= difatStart && sector < difatStart + difatSectors) next = kDifatSector;
        PutU32(file, next);
    }
    // Each DIFAT sector lists further FAT sectors and ends with the next one.
    std::uint32_t listed = kHeaderFatEntries;
    for (std::uint32_t d = 0; d < difatSectors; ++d) {
        for (unsigned i = 0; i + 1 < kEntriesPerSector; ++i, ++listed)
            PutU32(file, listed < fatSectors ? fatStart + listed : kFreeSector);
        PutU32(file, d + 1 < difatSectors ? difatStart + d + 1 : kEndOfChain);
    }
    return file;
}

}  // namespace workbook
