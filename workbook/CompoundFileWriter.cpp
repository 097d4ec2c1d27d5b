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

// Where everything lies in the file of a stream of that many bytes.
struct Layout {
    std::uint32_t streamSize, streamSectors, fatSectors, difatSectors, directoryStart, fatStart, difatStart;
};

Layout LayoutFor(std::uint64_t size) {
    Layout layout{};
    layout.streamSize = static_cast<std::uint32_t>(std::max<std::uint64_t>(size, kMiniStreamCutoff));
    layout.streamSectors = SectorsFor(layout.streamSize);
    const std::uint32_t directorySectors = 1;
    // The FAT covers every sector, its own and those of the DIFAT included.
    std::uint32_t fatSectors = 1, difatSectors = 0;
    for (;;) {
        const std::uint32_t total = layout.streamSectors + directorySectors + fatSectors + difatSectors;
        const std::uint32_t neededFat = (total + kEntriesPerSector - 1) / kEntriesPerSector;
        const std::uint32_t neededDifat =
            neededFat > kHeaderFatEntries ? (neededFat - kHeaderFatEntries + kEntriesPerSector - 2) / (kEntriesPerSector - 1) : 0;
        if (neededFat == fatSectors && neededDifat == difatSectors) break;
        fatSectors = std::max(fatSectors, neededFat);
        difatSectors = std::max(difatSectors, neededDifat);
    }
    layout.fatSectors = fatSectors;
    layout.difatSectors = difatSectors;
    layout.directoryStart = layout.streamSectors;
    layout.fatStart = layout.directoryStart + directorySectors;
    layout.difatStart = layout.fatStart + fatSectors;
    return layout;
}

}  // namespace

Bytes CompoundFileHeader(std::uint64_t streamSize) {
    const Layout layout = LayoutFor(streamSize);
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
    PutU32(file, layout.fatSectors);
    PutU32(file, layout.directoryStart);
    PutU32(file, 0);  // transactions
    PutU32(file, kMiniStreamCutoff);
    PutU32(file, kEndOfChain);  // no mini FAT
    PutU32(file, 0);
    PutU32(file, layout.difatSectors ? layout.difatStart : kEndOfChain);
    PutU32(file, layout.difatSectors);
    for (std::uint32_t i = 0; i < kHeaderFatEntries; ++i)
        PutU32(file, i < layout.fatSectors ? layout.fatStart + i : kFreeSector);
    return file;
}

std::size_t CompoundStreamPadding(std::uint64_t streamSize) {
    const Layout layout = LayoutFor(streamSize);
    return static_cast<std::size_t>(static_cast<std::uint64_t>(layout.streamSectors) * kSectorSize - streamSize);
}

Bytes CompoundFileTail(const std::u16string& streamName, std::uint64_t streamSize) {
    const Layout layout = LayoutFor(streamSize);
    Bytes file;
    file.reserve(static_cast<std::size_t>(1 + layout.fatSectors + layout.difatSectors) * kSectorSize);
    PutDirectoryEntry(file, u"Root Entry", kRootEntry, 1, kEndOfChain, 0);
    PutDirectoryEntry(file, streamName, kStreamEntry, kNoEntry, 0, layout.streamSize);
    for (unsigned i = 2; i < kDirectoryEntries; ++i) PutDirectoryEntry(file, u"", kUnusedEntry, kNoEntry, 0, 0);

    for (std::uint32_t sector = 0; sector < layout.fatSectors * kEntriesPerSector; ++sector) {
        std::uint32_t next = kFreeSector;
        if (sector + 1 < layout.streamSectors) next = sector + 1;
        else if (sector + 1 == layout.streamSectors || sector == layout.directoryStart) next = kEndOfChain;
        else if (sector >= layout.fatStart && sector < layout.difatStart) next = kFatSector;
        else if (sector >= layout.difatStart && sector < layout.difatStart + layout.difatSectors) next = kDifatSector;
        PutU32(file, next);
    }
    // Each DIFAT sector lists further FAT sectors and ends with the next one.
    std::uint32_t listed = kHeaderFatEntries;
    for (std::uint32_t d = 0; d < layout.difatSectors; ++d) {
        for (unsigned i = 0; i + 1 < kEntriesPerSector; ++i, ++listed)
            PutU32(file, listed < layout.fatSectors ? layout.fatStart + listed : kFreeSector);
        PutU32(file, d + 1 < layout.difatSectors ? layout.difatStart + d + 1 : kEndOfChain);
    }
    return file;
}

Bytes WriteCompoundFile(const std::u16string& streamName, Bytes stream) {
    const std::uint64_t size = stream.size();
    // The header goes in front of the stream, which then takes the rest of
    // the file after it: the file is built in the stream's own memory.
    const Bytes header = CompoundFileHeader(size);
    const Bytes tail = CompoundFileTail(streamName, size);
    stream.reserve(header.size() + size + CompoundStreamPadding(size) + tail.size());
    stream.resize(size + CompoundStreamPadding(size), 0);
    stream.insert(stream.begin(), header.begin(), header.end());
    stream.insert(stream.end(), tail.begin(), tail.end());
    return stream;
}

}  // namespace workbook
