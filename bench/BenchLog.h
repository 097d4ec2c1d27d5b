#pragma once
// What the benchmarks share: a full-size car log and a stopwatch.
#include <windows.h>

#include <cstdint>
#include <string>

// Writes a car database of the given number of records (the car record and
// fill-ups with varied notes, kinds, years and twelve categories).
void WriteBenchLog(const std::string& path, int records);

std::uint64_t FileSize(const std::string& path);
// The time the system takes to copy the file (the target replaced).
double CopySeconds(const std::string& from, const std::string& to);

class Stopwatch {
public:
    Stopwatch() { QueryPerformanceCounter(&m_start); }
    double Seconds() const {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(now.QuadPart - m_start.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER m_start;
};
