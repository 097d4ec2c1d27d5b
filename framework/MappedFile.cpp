#include "MappedFile.h"

#include "FileHandle.h"

#include <limits>

CMappedFile::CMappedFile(const std::string& path) {
    unsigned long error = 0;
    m_handle = filehandle::Open(path, CFile::Mode::Read, CFile::Share::DenyWrite, error);
    std::uint64_t length = 0;
    if (m_handle == filehandle::kInvalid || !filehandle::Length(m_handle, length, error) || length == 0 ||
        length > std::numeric_limits<std::size_t>::max())
        return;
    m_view = filehandle::Map(m_handle, static_cast<std::size_t>(length), error);
    if (m_view) m_size = static_cast<std::size_t>(length);
}

CMappedFile::~CMappedFile() {
    if (m_view) filehandle::Unmap(m_view, m_size);
    unsigned long error = 0;
    if (m_handle != filehandle::kInvalid) filehandle::Close(m_handle, error);
}
