#pragma once
// Sample car databases for a demo or test Palm Desktop: what a handheld user's
// backup folder holds after a HotSync.
#include <string>
#include <vector>

// Writes the sample cars' databases into folder (which must exist), replacing
// files of the same names, and appends the paths written to written.  false
// when any of them could not be written.
bool WriteSampleCars(const std::string& folder, std::vector<std::string>& written);

