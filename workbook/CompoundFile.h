#pragma once
#include <cstdint>

// The fixed values of the compound file (the container of a workbook's
// streams), shared by its reader and writer.
namespace workbook::compound {

constexpr std::uint8_t kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr unsigned kHeaderSize = 512;
constexpr unsigned kDirectoryEntrySize = 128;
constexpr unsigned kHeaderFatEntries = 109;  // FAT sector numbers kept in the header itself
constexpr unsigned kMiniSectorSize = 64;
constexpr std::uint32_t kMiniStreamCutoff = 4096;  // smaller streams live in the mini stream

// Sector numbers with a meaning of their own in a FAT or a chain.
constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;

enum EntryType : std::uint8_t { kUnusedEntry = 0, kStorageEntry = 1, kStreamEntry = 2, kRootEntry = 5 };

}  // namespace workbook::compound
