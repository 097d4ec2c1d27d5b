// Times the export and the import of a full-size car log (65,535 records,
// the most a handheld database holds) through the real pipelines, beside
// the time the system takes to copy files of the same sizes: to and from a
// CSV file, to and from a workbook through the program's own workbook table
// file, then through the spreadsheet application when one is registered.
#include "AppSettings.h"
#include "BenchLog.h"
#include "ExportDatabase.h"
#include "ImportTable.h"
#include "Message.h"
#include "WorkbookFileTableFile.h"

#include <windows.h>
#include <ole2.h>

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
    const std::string imported = folder + "RoadtallyDBBenchImported.pdb";
    const std::string copy = folder + "bench.copy";
    const int records = 65535;

    Stopwatch generate;
    WriteBenchLog(database, records);
    std::printf("generated %d records (%llu bytes) in %.3f s\n", records,
                static_cast<unsigned long long>(FileSize(database)), generate.Seconds());

    OleInitialize(nullptr);
    AppSettings settings;
    bool allRows = true;
    // The program's own workbook table file, whatever the prefix has.
    const TableFileMaker ownForWrite = [](std::string name, const AppSettings&) -> std::unique_ptr<CTableFile> {
        auto workbook = std::make_unique<CWorkbookFileTableFile>();
        return workbook->OpenForWrite(name) == 0 ? std::move(workbook) : nullptr;
    };
    const TableFileMaker ownForRead = [](std::string name, const AppSettings&) -> std::unique_ptr<CTableFile> {
        auto workbook = std::make_unique<CWorkbookFileTableFile>();
        return workbook->OpenForRead(name) == 0 ? std::move(workbook) : nullptr;
    };
    struct Kind {
        const char* name;
        const char* file;
        TableFileMaker forWrite, forRead;
    };
    const Kind kinds[] = {
        {"CSV", "bench.csv", CreateTableFileForWrite, CreateTableFileForRead},
        {"own workbook", "bench-own.xls", ownForWrite, ownForRead},
        {"workbook", "bench.xls", CreateTableFileForWrite, CreateTableFileForRead},
    };
    for (const Kind& k : kinds) {
        const char* kind = k.name;
        if (k.file == std::string("bench.xls") && !IsExcelAvailable()) {
            std::printf("%s: no spreadsheet application registered\n", kind);
            continue;
        }
        const std::string table = folder + k.file;
        DeleteFileA(table.c_str());
        Stopwatch exportWatch;
        const int exported = ExportDatabase(database, table, settings, nullptr, k.forWrite);
        const double exportSeconds = exportWatch.Seconds();
        if (exported != 0) {
            std::printf("%s: no table file (result %d)\n", kind, exported);
            continue;
        }
        const double tableCopy = CopySeconds(table, copy);

        Stopwatch importWatch;
        const int rows = ImportTable(imported, table, database, "Bench", settings, nullptr, k.forRead);
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
        if (k.file != std::string("bench-own.xls")) continue;
        Stopwatch openWatch;
        k.forRead(table, settings);
        std::printf("%s: reading and decoding the file alone: %.3f s\n", kind, openWatch.Seconds());
    }
    OleUninitialize();
    return allRows ? 0 : 1;
}
