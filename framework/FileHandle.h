#pragma once
// The few system calls behind CFile, one implementation per platform.
#include "File.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace filehandle {

constexpr std::intptr_t kInvalid = -1;
// The system's code for a file that ended before the bytes it should hold.
extern const unsigned long kEndOfFileError;

// On failure return kInvalid / false and set error to the system's code.
std::intptr_t Open(const std::string& path, CFile::Mode mode, CFile::Share share, unsigned long& error);
// A new, empty file in the system's temporary folder, open for reading and
// writing and deleted when closed; path tells its name.
std::intptr_t OpenTemporary(std::string& path, unsigned long& error);
bool Read(std::intptr_t handle, void* buffer, std::size_t size, std::size_t& got, unsigned long& error);
// written: the bytes that reached the file, also when the write fails part-way.
bool Write(std::intptr_t handle, const void* data, std::size_t size, std::size_t& written, unsigned long& error);
// Ends the file at length and puts the file pointer there.
bool Truncate(std::intptr_t handle, std::uint64_t length, unsigned long& error);
bool Seek(std::intptr_t handle, std::int64_t offset, CFile::SeekFrom from, std::uint64_t& position,
          unsigned long& error);
bool Length(std::intptr_t handle, std::uint64_t& length, unsigned long& error);
bool Close(std::intptr_t handle, unsigned long& error);
// A read-only view of the file's first size bytes (size > 0), nullptr and
// error set when the system cannot map them.  Unmap the view before the
// handle is closed.
const unsigned char* Map(std::intptr_t handle, std::size_t size, unsigned long& error);
void Unmap(const unsigned char* view, std::size_t size);

}  // namespace filehandle
