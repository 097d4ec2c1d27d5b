#pragma once
// A file on a disk that takes `room` bytes and then fills up: the write that
// meets the end lands as far as it fits and fails, as a real one does.
#include "File.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>

class CFillingDiskFile : public CFile {
public:
    explicit CFillingDiskFile(std::size_t room) : m_room(room) {}

protected:
    bool WriteToSystem(const void* data, std::size_t size, std::size_t& written, unsigned long& error) override {
        const std::size_t fits = std::min(size, m_room);
        if (!CFile::WriteToSystem(data, fits, written, error)) return false;
        m_room -= written;
        if (fits == size) return true;
        error = ERROR_DISK_FULL;
        return false;
    }

private:
    std::size_t m_room;
};
