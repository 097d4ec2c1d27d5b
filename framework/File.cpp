#include "File.h"

#include "Exception.h"
#include "FileHandle.h"

#include <algorithm>
#include <cstring>

CFile::~CFile() {
    try {
        Close();
    } catch (const CException&) {
        // A destructor cannot report; callers that care call Close() themselves.
    }
}

bool CFile::Open(const std::string& path, Mode mode, Share share) {
    Close();
    unsigned long error = 0;
    std::intptr_t handle = filehandle::Open(path, mode, share, error);
    if (handle == filehandle::kInvalid) {
        m_openError = error;
        return false;
    }
    m_handle = handle;
    m_path = path;
    m_openError = 0;
    m_mode = mode;
    m_systemPosition = 0;
    m_buffer.clear();
    m_readPos = 0;
    m_wholeEndOnDisk.reset();
    m_wholeEndsGathered.clear();
    return true;
}

void CFile::Fail(unsigned long osError) const { throw CFileException(osError, m_path); }

void CFile::DropReadBuffer() {
    m_buffer.clear();
    m_readPos = 0;
}

std::size_t CFile::Read(void* buffer, std::size_t size) {
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    unsigned long error = 0;
    while (done < size) {
        if (m_readPos < m_buffer.size()) {
            std::size_t n = std::min(size - done, m_buffer.size() - m_readPos);
            std::memcpy(out + done, m_buffer.data() + m_readPos, n);
            m_readPos += n;
            done += n;
            continue;
        }
        DropReadBuffer();
        std::size_t got = 0;
        if (size - done >= kBufferSize) {
            // A large request goes straight to the caller's memory.
            if (!ReadFromSystem(out + done, size - done, got, error)) Fail(error);
            m_systemPosition += got;
            done += got;
            if (got == 0) break;
            continue;
        }
        FillReadAhead();
        if (m_buffer.empty()) break;
    }
    return done;
}

void CFile::FillReadAhead() {
    DropReadBuffer();
    m_buffer.resize(kBufferSize);
    std::size_t got = 0;
    unsigned long error = 0;
    if (!ReadFromSystem(m_buffer.data(), kBufferSize, got, error)) {
        DropReadBuffer();
        Fail(error);
    }
    m_buffer.resize(got);
    m_systemPosition += got;
}

std::string_view CFile::PeekReadAhead() {
    if (m_mode != Mode::Read) return {};
    if (m_readPos == m_buffer.size()) FillReadAhead();
    return {reinterpret_cast<const char*>(m_buffer.data()) + m_readPos, m_buffer.size() - m_readPos};
}

void CFile::Write(const void* data, std::size_t size) {
    const auto* in = static_cast<const unsigned char*>(data);
    if (m_buffer.size() + size > kBufferSize) Flush();
    if (size >= kBufferSize) {
        HandOver(in, size);
        return;
    }
    m_buffer.insert(m_buffer.end(), in, in + size);
}

void CFile::Flush() {
    if (m_mode != Mode::CreateTruncate || m_buffer.empty()) return;
    // The gathered bytes are dropped even when the write fails: the caller has
    // been told, and a later Close() must not raise the same error twice.
    try {
        HandOver(m_buffer.data(), m_buffer.size());
    } catch (...) {
        m_buffer.clear();
        throw;
    }
    m_buffer.clear();
}

void CFile::MarkWholeEnd() {
    if (!m_wholeEndOnDisk) m_wholeEndOnDisk = 0;  // an empty file ends no unit torn
    m_wholeEndsGathered.push_back(GetPosition());
}

bool CFile::WriteToSystem(const void* data, std::size_t size, std::size_t& written, unsigned long& error) {
    return filehandle::Write(m_handle, data, size, written, error);
}

bool CFile::ReadFromSystem(void* data, std::size_t size, std::size_t& got, unsigned long& error) {
    return filehandle::Read(m_handle, data, size, got, error);
}

void CFile::HandOver(const unsigned char* data, std::size_t size) {
    std::size_t written = 0;
    unsigned long error = 0;
    const bool ok = WriteToSystem(data, size, written, error);
    const std::uint64_t landed = m_systemPosition + written;
    for (std::uint64_t end : m_wholeEndsGathered)
        if (end <= landed) m_wholeEndOnDisk = end;
    m_wholeEndsGathered.clear();
    m_systemPosition = landed;
    if (ok) return;
    unsigned long ignored = 0;
    if (m_wholeEndOnDisk && *m_wholeEndOnDisk < landed && filehandle::Truncate(m_handle, *m_wholeEndOnDisk, ignored))
        m_systemPosition = *m_wholeEndOnDisk;
    Fail(error);
}

std::uint64_t CFile::Seek(std::int64_t offset, SeekFrom from) {
    unsigned long error = 0;
    if (m_mode == Mode::Read) {
        const std::uint64_t bufferStart = m_systemPosition - m_buffer.size();
        std::int64_t target = offset;
        if (from == SeekFrom::Current) target += static_cast<std::int64_t>(GetPosition());
        if (from == SeekFrom::End) target += static_cast<std::int64_t>(GetLength());
        if (target >= static_cast<std::int64_t>(bufferStart) &&
            target <= static_cast<std::int64_t>(m_systemPosition)) {
            m_readPos = static_cast<std::size_t>(static_cast<std::uint64_t>(target) - bufferStart);
            return static_cast<std::uint64_t>(target);
        }
        DropReadBuffer();
        std::uint64_t position = 0;
        if (!filehandle::Seek(m_handle, target, SeekFrom::Begin, position, error)) Fail(error);
        m_systemPosition = position;
        return position;
    }
    Flush();
    std::uint64_t position = 0;
    if (!filehandle::Seek(m_handle, offset, from, position, error)) Fail(error);
    m_systemPosition = position;
    return position;
}

std::uint64_t CFile::GetPosition() const {
    if (m_mode == Mode::Read) return m_systemPosition - m_buffer.size() + m_readPos;
    return m_systemPosition + m_buffer.size();
}

std::uint64_t CFile::GetLength() const {
    unsigned long error = 0;
    std::uint64_t length = 0;
    if (!filehandle::Length(m_handle, length, error)) Fail(error);
    if (m_mode == Mode::CreateTruncate) length = std::max(length, m_systemPosition + m_buffer.size());
    return length;
}

void CFile::Close() {
    if (!IsOpen()) return;
    unsigned long error = 0;
    bool flushed = true;
    try {
        Flush();
    } catch (const CFileException& e) {
        flushed = false;
        error = e.GetOsError();
    }
    unsigned long closeError = 0;
    bool closed = filehandle::Close(m_handle, closeError);
    m_handle = kNoHandle;
    m_buffer.clear();
    m_readPos = 0;
    if (!flushed) Fail(error);
    if (!closed) Fail(closeError);
}
