// Writes and reads a CSV file of 65,535 fill-up rows through the CSV table
// file, as an export and an import of a full car database do, and copies a
// file of the same size for comparison.  Prints the three times.
//   csv_bench [FOLDER]   (default: the temporary folder)
#include "CsvTableFile.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kRows = 65535;

double Seconds(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

std::string LocaleListSeparator() {
    char buffer[10] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLIST, buffer, sizeof buffer) == 0 || !buffer[0]) return ",";
    return buffer;
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder;
    if (argc > 1) {
        folder = argv[1];
        if (!folder.empty() && folder.back() != '\\') folder += '\\';
    } else {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder = temp;
    }
    const std::string path = folder + "csv_bench.csv";
    const std::string copy = folder + "csv_bench_copy.csv";
    const std::string separator = LocaleListSeparator();
    const CalendarTime first = FromLocalFields({2001, 1, 1, 0, 0, 0});

    const LARGE_INTEGER writeStart = Now();
    {
        CCsvTableFile table;
        table.SetSeparator(separator);
        if (table.OpenForWrite(path) != 0) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        for (int i = 0; i < kRows; ++i) {
            table.WriteDate(first + (i % 10000) * 86400);
            table.WriteNumber((100000 + i * 37) * 0.1, 1);
            table.WriteCurrency((4000 + i % 5000) * 0.01);
            if (i % 2) table.WriteNumber((4000 + i % 3000) * 0.01, 2);
            else table.WriteNumber((40000 + i % 30000) * 0.001, 3);
            table.WriteString(i % 7 == 0 ? "p" : "");
            table.WriteString("Filled up at the \"corner\" station; tyres checked");
            table.WriteString(i % 3 ? "Fuel" : "Service, yearly");
            table.EndRow();
        }
        table.FinishWrite();
    }
    const double writeSeconds = Seconds(writeStart);

    const LARGE_INTEGER readStart = Now();
    int rows = 0;
    int badDates = 0;
    std::uint64_t size = 0;
    {
        CCsvTableFile table;
        table.SetSeparator(separator);
        if (table.OpenForRead(path) != 0) return 1;
        size = static_cast<std::uint64_t>(table.GetProgressMax()) << 8;
        while (table.NextRow() == 0) {
            CalendarTime date = 0;
            double mileage = 0, price = 0, amount = 0;
            std::string kind, note, category;
            if (table.ReadDate(date) != 0) ++badDates;
            table.ReadDouble(mileage);
            table.ReadCurrency(price);
            table.ReadDouble(amount);
            table.ReadString(kind);
            table.ReadString(note);
            table.ReadString(category);
            table.GetProgressPos();
            ++rows;
        }
        table.Close();
    }
    const double readSeconds = Seconds(readStart);

    // The same file with every cell taken as text: the part of the reading
    // that is the file and the dialect, without the date parser.
    const LARGE_INTEGER textStart = Now();
    {
        CCsvTableFile table;
        table.SetSeparator(separator);
        if (table.OpenForRead(path) != 0) return 1;
        std::string cell;
        while (table.NextRow() == 0)
            for (int i = 0; i < 7; ++i) table.ReadString(cell);
        table.Close();
    }
    const double textSeconds = Seconds(textStart);

    const LARGE_INTEGER copyStart = Now();
    if (!CopyFileA(path.c_str(), copy.c_str(), FALSE)) return 1;
    const double copySeconds = Seconds(copyStart);

    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes))
        size = (static_cast<std::uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    DeleteFileA(path.c_str());
    DeleteFileA(copy.c_str());

    std::printf("CSV file of %d rows, %llu bytes, separator \"%s\"\n", kRows,
                static_cast<unsigned long long>(size), separator.c_str());
    std::printf("write through CCsvTableFile: %8.3f s\n", writeSeconds);
    std::printf("read through CCsvTableFile:  %8.3f s (%d rows, %d unreadable dates)\n", readSeconds, rows, badDates);
    std::printf("  of which cells as text:    %8.3f s\n", textSeconds);
    std::printf("copy of the file (CopyFile): %8.3f s\n", copySeconds);
    return rows == kRows && badDates == 0 ? 0 : 1;
}
