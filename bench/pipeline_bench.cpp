// Times the export and the import of a full-size car log (65,535 records,
// the most a handheld database holds) through the real pipelines, beside
// the time the system takes to copy files of the same sizes: to and from a
// CSV file, then to and from a workbook when a spreadsheet application is
// registered.
#include "AppSettings.h"
#include "CarRecord.h"
#include "ExportDatabase.h"
#include "FillupRecord.h"
#include "ImportTable.h"
#include "Message.h"
#include "PalmDatabase.h"
#include "PalmDate.h"

#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
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

std::uint64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

double CopySeconds(const std::string& from, const std::string& to) {
    DeleteFileA(to.c_str());
    Stopwatch watch;
    CopyFileA(from.c_str(), to.c_str(), FALSE);
    return watch.Seconds();
}

void WriteLog(const std::string& path, int records) {
    CPalmDatabase database("RoadtallyDBBench", MakePalmCode("RtLg"), MakePalmCode("DATA"), false);
    std::vector<unsigned char> buffer(10000);
    CCarRecord car("Bench");
    CPalmRecord record;
    record.SetData(buffer.data(), static_cast<std::size_t>(car.PackCarRecord(buffer.data(), buffer.size())));
    database.AddRecord(record);
    const char* notes[] = {"", "full tank", "motorway; \"fast\"", "city\ntraffic", "holiday trip to the coast, long"};
    for (int i = 1; i < records; ++i) {
        CFillupRecord entry;
        entry.date = UnpackPalmDate(static_cast<std::uint16_t>(((80 + i % 50) << 9) | ((1 + i % 12) << 5) | (1 + i % 28)));
        entry.mileage = static_cast<std::uint32_t>(i) * 4500u;
        entry.price = 3000u + static_cast<std::uint32_t>(i % 5000);
        entry.fillAmount = 2000u + static_cast<std::uint32_t>(i % 4000);
        entry.partial = i % 7 == 0;
        entry.recurring = i % 11 == 0;
        entry.recurringEndDate = entry.date;
        entry.recurringInterval = 12;
        entry.note = notes[i % 5];
        record.SetData(buffer.data(), static_cast<std::size_t>(entry.PackFillupRecord(buffer.data(), buffer.size())));
        record.SetCategoryName("Category " + std::to_string(i % 12));
        database.AddRecord(record);
    }
    database.Write(path);
}
}  // namespace

int main() {
    ScopedMessageResponder quiet([](const ShownMessage& message) {
        std::printf("message: %s\n", message.text.c_str());
        return IDOK;
    });
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp);
    const std::string database = folder + "RoadtallyDBBench.pdb";
    const std::string imported = folder + "RoadtallyDBBenchImported.pdb";
    const std::string copy = folder + "bench.copy";
    const int records = 65535;

    Stopwatch generate;
    WriteLog(database, records);
    std::printf("generated %d records (%llu bytes) in %.3f s\n", records,
                static_cast<unsigned long long>(FileSize(database)), generate.Seconds());

    OleInitialize(nullptr);
    AppSettings settings;
    bool allRows = true;
    for (const char* kind : {"CSV", "workbook"}) {
        const std::string table = folder + (kind[0] == 'C' ? "bench.csv" : "bench.xls");
        DeleteFileA(table.c_str());
        Stopwatch exportWatch;
        const int exported = ExportDatabase(database, table, settings, nullptr);
        const double exportSeconds = exportWatch.Seconds();
        if (exported != 0) {
            std::printf("%s: no table file (result %d)\n", kind, exported);
            continue;
        }
        const double tableCopy = CopySeconds(table, copy);

        Stopwatch importWatch;
        const int rows = ImportTable(imported, table, database, "Bench", settings, nullptr);
        const double importSeconds = importWatch.Seconds();
        const double databaseCopy = CopySeconds(imported, copy);
        DeleteFileA(copy.c_str());
        allRows = allRows && rows == records - 1;

        std::printf("%s export: %.3f s for %llu bytes (result %d); copying that file: %.3f s (%.0fx)\n", kind,
                    exportSeconds, static_cast<unsigned long long>(FileSize(table)), exported, tableCopy,
                    tableCopy > 0 ? exportSeconds / tableCopy : 0.0);
        std::printf("%s import: %.3f s for %d rows, %llu database bytes; copying that file: %.3f s (%.0fx)\n", kind,
                    importSeconds, rows, static_cast<unsigned long long>(FileSize(imported)), databaseCopy,
                    databaseCopy > 0 ? importSeconds / databaseCopy : 0.0);
    }
    OleUninitialize();
    return allRows ? 0 : 1;
}
