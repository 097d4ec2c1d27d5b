#include "BenchLog.h"

#include "CarRecord.h"
#include "FillupRecord.h"
#include "PalmDatabase.h"
#include "PalmDate.h"

#include <vector>

void WriteBenchLog(const std::string& path, int records) {
    CPalmDatabase database("RoadtallyDBBench", MakePalmCode("RtLg"), MakePalmCode("DATA"), false);
    std::vector<unsigned char> buffer(10000);
    CCarRecord car("Bench");
    CPalmRecord record;
    record.SetData(buffer.data(), static_cast<std::size_t>(car.PackCarRecord(buffer.data(), buffer.size())));
    database.AddRecord(record);
    const char* notes[] = {"", "full tank", "motorway; \"fast\"", "city\ntraffic", "holiday trip to the coast, long"};
    for (int i = 1; i < records; ++i) {
        CFillupRecord entry;
        const int packedDate = ((80 + i % 50) << 9) | ((1 + i % 12) << 5) | (1 + i % 28);
        entry.date = UnpackPalmDate(static_cast<std::uint16_t>(packedDate));
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
