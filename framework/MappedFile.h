#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// A file seen in place through a read-only mapping; no view when it cannot
// be mapped (it cannot be opened, it is empty or larger than the address
// space, or another program holds it open for writing).  Reading a large
// file into memory of the program's own touches every page of that memory
// for the first time, which under Wine costs about ten times the mapping.
// No other program may write the file while it is mapped: one that cut it
// short would leave pages of the view without a file behind them.
class CMappedFile {
public:
    explicit CMappedFile(const std::string& path);
    ~CMappedFile();
    CMappedFile(const CMappedFile&) = delete;
    CMappedFile& operator=(const CMappedFile&) = delete;

    const unsigned char* View() const { return m_view; }
    // The file's size while it is mapped, 0 otherwise.
    std::size_t Size() const { return m_size; }

private:
    std::intptr_t m_handle;
    const unsigned char* m_view = nullptr;
    std::size_t m_size = 0;
};
