#include "SpoolFile.h"

#include "Exception.h"
#include "FileHandle.h"
#include "ShortCopy.h"

#include <algorithm>

CSpoolFile::~CSpoolFile() {
    unsigned long ignored = 0;
    if (m_handle != filehandle::kInvalid) filehandle::Close(m_handle, ignored);
}

bool CSpoolFile::Open() {
    unsigned long error = 0;
    m_handle = filehandle::OpenTemporary(m_path, error);
    m_buffer.reset(new unsigned char[kBufferSize]);
    return m_handle != filehandle::kInvalid;
}

void CSpoolFile::Fail(unsigned long osError) const { throw CFileException(osError, m_path); }

void CSpoolFile::Append(const unsigned char* bytes, std::size_t size) {
    if (m_held + size > kBufferSize) HandOver();
    if (size > kBufferSize) {
        SeekTo(m_size);
        std::size_t written = 0;
        unsigned long error = 0;
        const bool ok = filehandle::Write(m_handle, bytes, size, written, error);
        m_position += written;
        if (!ok) Fail(error);
    } else {
        CopyBytes(m_buffer.get() + m_held, bytes, size);
        m_held += size;
    }
    m_size += size;
}

void CSpoolFile::HandOver() {
    if (m_held == 0) return;
    const std::uint64_t end = m_size - m_held;
    SeekTo(end);
    std::size_t written = 0;
    unsigned long error = 0;
    const bool ok = filehandle::Write(m_handle, m_buffer.get(), m_held, written, error);
    m_position += written;
    // Bytes the file did not take are lost either way: the spool is spoiled.
    m_held = 0;
    if (!ok) {
        m_size = end + written;
        Fail(error);
    }
}

void CSpoolFile::SeekTo(std::uint64_t offset) {
    if (m_position == offset) return;
    unsigned long error = 0;
    if (!filehandle::Seek(m_handle, static_cast<std::int64_t>(offset), CFile::SeekFrom::Begin, m_position, error))
        Fail(error);
}

void CSpoolFile::ReadExactly(unsigned char* out, std::size_t size) {
    std::size_t got = 0;
    unsigned long error = 0;
    const bool ok = filehandle::Read(m_handle, out, size, got, error);
    m_position += got;
    if (!ok) Fail(error);
    if (got < size) Fail(filehandle::kEndOfFileError);  // the file lost bytes it was given
}

void CSpoolFile::ReadAt(std::uint64_t offset, unsigned char* out, std::size_t size) {
    HandOver();
    SeekTo(offset);
    ReadExactly(out, size);
}

void CSpoolFile::CopyTo(const ByteSink& put, std::size_t unit) {
    HandOver();
    SeekTo(0);
    // The gathering buffer, empty now, carries the bytes over: its pages are
    // touched already.
    const std::size_t most = kBufferSize - kBufferSize % unit;
    for (std::uint64_t left = m_size; left > 0;) {
        const auto piece = static_cast<std::size_t>(std::min<std::uint64_t>(left, most));
        ReadExactly(m_buffer.get(), piece);
        put(m_buffer.get(), piece);
        left -= piece;
    }
}
