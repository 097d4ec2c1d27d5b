#pragma once
#include "LittleEndian.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace workbook {

// Reads streams out of a compound file held in memory (versions 3 and 4,
// the mini stream, the DIFAT).  Every chain is checked against the file: a
// sector outside it, a chain that loops or a stream longer than its chain is
// an error, never a read outside the buffer.  The buffer must outlive the
// reader.
class CompoundFileReader {
public:
    // False, with a message in error, when the bytes are no compound file
    // or its FAT or directory is damaged.
    bool Open(const std::uint8_t* data, std::size_t size, std::string& error);

    // Whether the root storage holds a stream of that name (case aside).
    bool HasStream(const std::u16string& name) const;

    // The named stream of the root storage; false, with a message in error,
    // when it is missing or its chain is damaged.
    bool ReadStream(const std::u16string& name, Bytes& stream, std::string& error) const;
    // The same, seen in place where the stream's sectors follow one another
    // in the file (as in every file this program writes), else read into
    // storage; data and size then give the stream.
    bool ViewStream(const std::u16string& name, Bytes& storage, const std::uint8_t*& data, std::size_t& size,
                    std::string& error) const;

private:
    struct Entry {
        std::u16string name;
        std::uint8_t type = 0;
        std::uint32_t left = 0, right = 0, child = 0, start = 0;
        std::uint64_t size = 0;
    };

    const Entry* FindInRoot(const std::u16string& name) const;
    bool ReadChain(std::uint32_t first, const std::vector<std::uint32_t>& table, std::vector<std::uint32_t>& chain,
                   std::string& error) const;
    bool ReadRegular(std::uint32_t first, std::uint64_t size, Bytes& out, std::string& error) const;
    bool ReadSmall(const Entry& entry, Bytes& out, std::string& error) const;
    bool ReadFat(std::string& error);
    bool ReadDirectory(std::uint32_t first, std::string& error);

    const std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
    unsigned m_sectorSize = 512;
    std::uint32_t m_sectorCount = 0;
    std::uint32_t m_miniCutoff = 0;
    std::uint32_t m_miniFatStart = 0;
    std::vector<std::uint32_t> m_fat;
    std::vector<Entry> m_entries;
};

}  // namespace workbook
