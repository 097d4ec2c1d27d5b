#include "CarList.h"

#include "AppSettings.h"
#include "CarRecord.h"
#include "Exception.h"
#include "PalmDatabase.h"

#include <windows.h>

namespace {
class FindHandle {
public:
    FindHandle(const std::string& pattern, WIN32_FIND_DATAA& data) : m_handle(FindFirstFileA(pattern.c_str(), &data)) {}
    ~FindHandle() {
        if (m_handle != INVALID_HANDLE_VALUE) FindClose(m_handle);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool Found() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool Next(WIN32_FIND_DATAA& data) { return FindNextFileA(m_handle, &data) != 0; }

private:
    HANDLE m_handle;
};

std::string CarNameOf(const std::string& path) {
    CPalmDatabase database;
    try {
        if (database.ReadInPlace(path, 1) != 0 || database.GetRecordCount() == 0) return std::string();
    } catch (const CException&) {
        return std::string();  // a file that fails to read is no car of ours
    }
    CCarRecord car;
    car.ParseCarRecord(database.GetRecord(0));
    return car.carName;
}
}  // namespace

std::vector<CarEntry> FindCars(const std::string& searchPattern, const std::string& folder) {
    std::vector<CarEntry> cars;
    WIN32_FIND_DATAA data;
    FindHandle find(searchPattern, data);
    if (!find.Found()) return cars;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::string path = folder + "\\" + data.cFileName;
        std::string name = CarNameOf(path);
        if (!name.empty()) cars.push_back({std::move(name), path});
    } while (find.Next(data));
    return cars;
}

void LoadCarList(CComboBox& combo, std::vector<std::string>& carPaths, const AppSettings& settings) {
    // The prefix is the backup folder followed by the databases' common name
    // start: one question to Palm Desktop gives both (and one message when it
    // cannot answer).
    const std::string prefix = settings.GetDatabasePrefix();
    const std::string::size_type slash = prefix.rfind('\\');
    const std::string backupFolder = slash == std::string::npos ? std::string() : prefix.substr(0, slash);
    combo.ResetContent();
    carPaths.clear();
    for (const CarEntry& car : FindCars(prefix + "*.pdb", backupFolder)) {
        combo.AddString(car.name);
        carPaths.push_back(car.path);
    }
    if (combo.GetCount() > 0) combo.SetCurSel(0);
}
