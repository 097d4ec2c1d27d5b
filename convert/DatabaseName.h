#pragma once
#include <string>

// The handheld database name of a car: "RoadtallyDB" and the car name with
// blanks, ':' and '/' turned into '_' and control bytes, bytes from 0x7F up
// and '\' dropped, cut to the 31 characters a handheld database name holds.
// The car's database file is this name plus ".pdb".
std::string MakeDatabaseName(const std::string& carName);
