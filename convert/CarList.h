#pragma once
#include "Controls.h"

#include <string>
#include <vector>

class AppSettings;

struct CarEntry {
    std::string name;  // the car name of the database's car record
    std::string path;  // full path of the database file
};

// The cars whose databases match searchPattern (a folder and a file pattern)
// in folder, in the order the file system delivers them.  Files that cannot
// be read, hold no record or name no car are passed over.
std::vector<CarEntry> FindCars(const std::string& searchPattern, const std::string& folder);

// Fills the car combo with the chosen user's cars and carPaths with their
// database paths, entry for entry, and selects the first car.
void LoadCarList(CComboBox& combo, std::vector<std::string>& carPaths, const AppSettings& settings);
