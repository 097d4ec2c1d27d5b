#include "FileHandle.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace filehandle {

const unsigned long kEndOfFileError = EIO;

// Share modes have no POSIX counterpart; the native build only serves tests
// and fuzzing, where no second process competes for the file.
std::intptr_t Open(const std::string& path, CFile::Mode mode, CFile::Share, unsigned long& error) {
    int fd = mode == CFile::Mode::Read ? ::open(path.c_str(), O_RDONLY)
                                       : ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        error = static_cast<unsigned long>(errno);
        return kInvalid;
    }
    return fd;
}

std::intptr_t OpenTemporary(std::string& path, unsigned long& error) {
    const char* folder = std::getenv("TMPDIR");
    std::string name = std::string(folder && *folder ? folder : "/tmp") + "/rtXXXXXX";
    const int fd = ::mkstemp(&name[0]);
    if (fd < 0) {
        error = static_cast<unsigned long>(errno);
        return kInvalid;
    }
    ::unlink(name.c_str());  // gone when closed
    path = name;
    return fd;
}

bool Read(std::intptr_t handle, void* buffer, std::size_t size, std::size_t& got, unsigned long& error) {
    got = 0;
    auto* out = static_cast<char*>(buffer);
    while (got < size) {
        ssize_t n = ::read(static_cast<int>(handle), out + got, size - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = static_cast<unsigned long>(errno);
            return false;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

bool Write(std::intptr_t handle, const void* data, std::size_t size, std::size_t& written, unsigned long& error) {
    const auto* in = static_cast<const char*>(data);
    written = 0;
    while (size > 0) {
        ssize_t n = ::write(static_cast<int>(handle), in, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = static_cast<unsigned long>(errno);
            return false;
        }
        in += n;
        written += static_cast<std::size_t>(n);
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool Truncate(std::intptr_t handle, std::uint64_t length, unsigned long& error) {
    const int fd = static_cast<int>(handle);
    if (::ftruncate(fd, static_cast<off_t>(length)) != 0 || ::lseek(fd, static_cast<off_t>(length), SEEK_SET) < 0) {
        error = static_cast<unsigned long>(errno);
        return false;
    }
    return true;
}

bool Seek(std::intptr_t handle, std::int64_t offset, CFile::SeekFrom from, std::uint64_t& position,
          unsigned long& error) {
    int whence = from == CFile::SeekFrom::Begin ? SEEK_SET : from == CFile::SeekFrom::Current ? SEEK_CUR : SEEK_END;
    off_t result = ::lseek(static_cast<int>(handle), static_cast<off_t>(offset), whence);
    if (result < 0) {
        error = static_cast<unsigned long>(errno);
        return false;
    }
    position = static_cast<std::uint64_t>(result);
    return true;
}

bool Length(std::intptr_t handle, std::uint64_t& length, unsigned long& error) {
    struct stat info;
    if (::fstat(static_cast<int>(handle), &info) != 0) {
        error = static_cast<unsigned long>(errno);
        return false;
    }
    length = static_cast<std::uint64_t>(info.st_size);
    return true;
}

bool Close(std::intptr_t handle, unsigned long& error) {
    if (::close(static_cast<int>(handle)) != 0) {
        error = static_cast<unsigned long>(errno);
        return false;
    }
    return true;
}

const unsigned char* Map(std::intptr_t handle, std::size_t size, unsigned long& error) {
    void* view = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, static_cast<int>(handle), 0);
    if (view == MAP_FAILED) {
        error = static_cast<unsigned long>(errno);
        return nullptr;
    }
    return static_cast<const unsigned char*>(view);
}

void Unmap(const unsigned char* view, std::size_t size) {
    ::munmap(const_cast<unsigned char*>(view), size);
}

}  // namespace filehandle
