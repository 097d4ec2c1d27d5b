#pragma once
#include <string>

// Hands the database file at path to Palm Desktop for the user's next
// HotSync and tells the user the outcome: the confirmation when Palm Desktop
// took the file, an error naming the user and the file when it did not (no
// user chosen, a path too long to hand over, or the library refused).
// true when Palm Desktop took the file.
bool QueueForInstall(const std::string& user, const std::string& path);
