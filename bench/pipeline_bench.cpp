// Times the export and the import of a full-size car log (65,535 records,
// the most a handheld database holds) through the real pipelines, beside
// the time the system takes to copy files of the same sizes.
#include "AppSettings.h"
#include "BenchLog.h"
#include "ExportDatabase.h"
#include "ImportTable.h"
#include "Message.h"

#include <windows.h>

#include <cstdio>
#include <string>

int main() {
    ScopedMessageResponder quiet([](const ShownMessage& message) {
        std::printf("message: %s\n", message.text.c_str());
        return IDOK;
    });
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp);
    const std::string database = folder + "RoadtallyDBBench.pdb";
    const std::string table = folder + "bench.csv";
    const std::string imported = folder + "RoadtallyDBBenchImported.pdb";
    const std::string copy = folder + "bench.copy";
    const int records = 65535;

    Stopwatch generate;
    WriteBenchLog(database, records);
    std::printf("generated %d records (%llu bytes) in %.3f s\n", records,
                static_cast<unsigned long long>(FileSize(database)), generate.Seconds());

    AppSettings settings;
    Stopwatch exportWatch;
    const int exported = ExportDatabase(database, table, settings, nullptr);
    const double exportSeconds = exportWatch.Seconds();
    const double tableCopy = CopySeconds(table, copy);

    Stopwatch importWatch;
    const int rows = ImportTable(imported, table, database, "Bench", settings, nullptr);
    const double importSeconds = importWatch.Seconds();
    const double databaseCopy = CopySeconds(imported, copy);
    DeleteFileA(copy.c_str());

    std::printf("export: %.3f s for %llu CSV bytes (result %d); copying that file: %.3f s (%.0fx)\n", exportSeconds,
                static_cast<unsigned long long>(FileSize(table)), exported, tableCopy,
                tableCopy > 0 ? exportSeconds / tableCopy : 0.0);
    std::printf("import: %.3f s for %d rows, %llu database bytes; copying that file: %.3f s (%.0fx)\n",
                importSeconds, rows, static_cast<unsigned long long>(FileSize(imported)), databaseCopy,
                databaseCopy > 0 ? importSeconds / databaseCopy : 0.0);
    return rows == records - 1 ? 0 : 1;
}
