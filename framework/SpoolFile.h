#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// A temporary file that bytes are appended to and read back from, deleted
// when it is closed.  For bytes written once and read back later: under Wine
// a page of memory touched for the first time costs more than writing it to
// a file and reading it back.  Errors of the system raise CFileException.
class CSpoolFile {
public:
    CSpoolFile() = default;
    ~CSpoolFile();
    CSpoolFile(const CSpoolFile&) = delete;
    CSpoolFile& operator=(const CSpoolFile&) = delete;

    // false when no temporary file can be made.
    bool Open();
    std::uint64_t GetSize() const { return m_size; }
    void Append(const unsigned char* bytes, std::size_t size);
    // size bytes from offset, which lie within GetSize(), into out.
    void ReadAt(std::uint64_t offset, unsigned char* out, std::size_t size);
    // Every byte appended handed to put in order, a buffer at a time, each
    // piece a whole number of units long (the last excepted when the spool
    // is not).  The pieces are the spool's own scratch: put may change them.
    using ByteSink = std::function<void(unsigned char* bytes, std::size_t size)>;
    void CopyTo(const ByteSink& put, std::size_t unit = 1);

private:
    static constexpr std::size_t kBufferSize = 64 * 1024;

    [[noreturn]] void Fail(unsigned long osError) const;
    // Appended bytes still gathered go to the file.
    void HandOver();
    void SeekTo(std::uint64_t offset);
    void ReadExactly(unsigned char* out, std::size_t size);

    std::intptr_t m_handle = -1;
    std::string m_path;
    std::uint64_t m_size = 0;
    std::uint64_t m_position = 0;  // where the system's file pointer stands
    // Appended bytes not yet handed over, the first m_held of the buffer;
    // its pages are touched only as bytes arrive.
    std::unique_ptr<unsigned char[]> m_buffer;
    std::size_t m_held = 0;
};
