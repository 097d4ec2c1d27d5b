#include "FileHandle.h"

#include <windows.h>

namespace filehandle {

const unsigned long kEndOfFileError = ERROR_HANDLE_EOF;

namespace {
HANDLE ToHandle(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }
}  // namespace

std::intptr_t Open(const std::string& path, CFile::Mode mode, CFile::Share share, unsigned long& error) {
    const bool reading = mode == CFile::Mode::Read;
    DWORD shareMode = share == CFile::Share::DenyWrite ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
    HANDLE h = CreateFileA(path.c_str(), reading ? GENERIC_READ : GENERIC_WRITE, shareMode, nullptr,
                           reading ? OPEN_EXISTING : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return kInvalid;
    }
    return reinterpret_cast<std::intptr_t>(h);
}

std::intptr_t OpenTemporary(std::string& path, unsigned long& error) {
    char folder[MAX_PATH + 1];
    char name[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length > MAX_PATH || GetTempFileNameA(folder, "rt", 0, name) == 0) {
        error = GetLastError();
        return kInvalid;
    }
    HANDLE h = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        DeleteFileA(name);  // made by GetTempFileNameA
        return kInvalid;
    }
    path = name;
    return reinterpret_cast<std::intptr_t>(h);
}

bool Read(std::intptr_t handle, void* buffer, std::size_t size, std::size_t& got, unsigned long& error) {
    got = 0;
    auto* out = static_cast<char*>(buffer);
    while (size > 0) {
        DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD read = 0;
        if (!ReadFile(ToHandle(handle), out + got, chunk, &read, nullptr)) {
            error = GetLastError();
            return false;
        }
        got += read;
        size -= read;
        if (read == 0) break;
    }
    return true;
}

bool Write(std::intptr_t handle, const void* data, std::size_t size, std::size_t& written, unsigned long& error) {
    const auto* in = static_cast<const char*>(data);
    written = 0;
    while (size > 0) {
        DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD done = 0;
        const BOOL ok = WriteFile(ToHandle(handle), in, chunk, &done, nullptr);
        written += done;
        if (!ok) {
            error = GetLastError();
            return false;
        }
        if (done == 0) {
            error = ERROR_HANDLE_DISK_FULL;
            return false;
        }
        in += done;
        size -= done;
    }
    return true;
}

bool Truncate(std::intptr_t handle, std::uint64_t length, unsigned long& error) {
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(length);
    if (!SetFilePointerEx(ToHandle(handle), distance, nullptr, FILE_BEGIN) || !SetEndOfFile(ToHandle(handle))) {
        error = GetLastError();
        return false;
    }
    return true;
}

bool Seek(std::intptr_t handle, std::int64_t offset, CFile::SeekFrom from, std::uint64_t& position,
          unsigned long& error) {
    DWORD method = from == CFile::SeekFrom::Begin ? FILE_BEGIN
                   : from == CFile::SeekFrom::Current ? FILE_CURRENT
                                                      : FILE_END;
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER result;
    if (!SetFilePointerEx(ToHandle(handle), distance, &result, method)) {
        error = GetLastError();
        return false;
    }
    position = static_cast<std::uint64_t>(result.QuadPart);
    return true;
}

bool Length(std::intptr_t handle, std::uint64_t& length, unsigned long& error) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(ToHandle(handle), &size)) {
        error = GetLastError();
        return false;
    }
    length = static_cast<std::uint64_t>(size.QuadPart);
    return true;
}

bool Close(std::intptr_t handle, unsigned long& error) {
    if (!CloseHandle(ToHandle(handle))) {
        error = GetLastError();
        return false;
    }
    return true;
}

const unsigned char* Map(std::intptr_t handle, std::size_t, unsigned long& error) {
    const HANDLE mapping = CreateFileMappingA(ToHandle(handle), nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping) {
        error = GetLastError();
        return nullptr;
    }
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    if (!view) error = GetLastError();
    CloseHandle(mapping);  // the view keeps the mapping alive
    return static_cast<const unsigned char*>(view);
}

void Unmap(const unsigned char* view, std::size_t) { UnmapViewOfFile(view); }

}  // namespace filehandle
