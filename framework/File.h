#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The file object of the program: one open file, read or written strictly
// through this object.  Reads are served from a buffer and small writes are
// gathered, so byte-at-a-time callers cost one system call per buffer; the
// position and length seen by the caller stay exact.  Errors while reading,
// writing, seeking or closing raise CFileException.
class CFile {
public:
    enum class Mode {
        Read,           // existing file, read only
        CreateTruncate  // created, or emptied when it exists; write only
    };
    enum class Share {
        DenyNone,  // others may read and write while it is open
        DenyWrite  // others may read but not write
    };
    enum class SeekFrom { Begin, Current, End };

    CFile() = default;
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // false when the file cannot be opened; GetOpenError() then tells why.
    virtual bool Open(const std::string& path, Mode mode, Share share = Share::DenyNone);
    // Up to size bytes; fewer only at the end of the file.
    virtual std::size_t Read(void* buffer, std::size_t size);
    // The read-ahead bytes not taken yet, the buffer filled anew first when
    // none are left; empty at the end of the file.  A line reader scans them
    // in place and takes what it used with TakeReadAhead: a call per byte
    // cost more than the rest of reading a file.
    std::string_view PeekReadAhead();
    // Takes count bytes (at most what PeekReadAhead showed).
    void TakeReadAhead(std::size_t count) { m_readPos += count; }
    virtual void Write(const void* data, std::size_t size);
    // Hands gathered writes to the system now, so that an error shows here.
    virtual void Flush();
    // The bytes written so far end a whole unit (a row of a table).  Once a
    // writer marks its ends, a hand-over to the system that fails part-way
    // cuts the file back to the last marked end that reached it: the file
    // never ends in a torn unit, however many units were gathered.
    void MarkWholeEnd();
    virtual std::uint64_t Seek(std::int64_t offset, SeekFrom from);
    virtual std::uint64_t GetPosition() const;
    virtual std::uint64_t GetLength() const;
    // Flushes and closes; raises when the last writes fail.  No-op when closed.
    virtual void Close();

    bool IsOpen() const { return m_handle != kNoHandle; }
    const std::string& GetFilePath() const { return m_path; }
    unsigned long GetOpenError() const { return m_openError; }

protected:
    // Hands bytes to the system; written tells how many reached the file,
    // also on failure.  The one place where a test makes the disk fill up.
    virtual bool WriteToSystem(const void* data, std::size_t size, std::size_t& written, unsigned long& error);
    // Takes up to size bytes from the system; got is 0 at the end of the file.
    // The one place where a test makes a read fail.
    virtual bool ReadFromSystem(void* data, std::size_t size, std::size_t& got, unsigned long& error);

private:
    static constexpr std::intptr_t kNoHandle = -1;
    static constexpr std::size_t kBufferSize = 64 * 1024;
    // Leaves bytes a resize adds as they are: the read-ahead buffer grows to
    // its full size before every read, and zeroing it first cost more than
    // the scan of what the read brings.
    struct UnzeroedBytes : std::allocator<unsigned char> {
        template <typename U>
        struct rebind {
            using other = UnzeroedBytes;
        };
        void construct(unsigned char* byte) { ::new (static_cast<void*>(byte)) unsigned char; }
        void construct(unsigned char* byte, unsigned char value) { *byte = value; }
    };

    [[noreturn]] void Fail(unsigned long osError) const;
    void DropReadBuffer();
    // Fills the read-ahead buffer from the system; its size is 0 at the end.
    void FillReadAhead();
    void HandOver(const unsigned char* data, std::size_t size);

    std::intptr_t m_handle = kNoHandle;
    std::string m_path;
    unsigned long m_openError = 0;
    Mode m_mode = Mode::Read;
    std::uint64_t m_systemPosition = 0;  // where the system's file pointer stands
    std::vector<unsigned char, UnzeroedBytes> m_buffer;  // read-ahead bytes, or writes not yet handed over
    std::size_t m_readPos = 0;           // next unread byte of a read-ahead buffer
    std::optional<std::uint64_t> m_wholeEndOnDisk;  // the last marked end the system has taken
    std::vector<std::uint64_t> m_wholeEndsGathered; // marked ends not yet handed over
};
