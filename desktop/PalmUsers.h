#pragma once
// Palm Desktop's handheld users and their folders, asked afresh of Palm
// Desktop's install library on every call.
#include <string>
#include <vector>

// Greater than 0: the number of users; 0 or less: no usable Palm Desktop.
int PalmUserCount();
// The name of the user at index; empty when the library gives none.
std::string PalmUserName(unsigned index);
// Every user's name in the library's order.  The count is asked again after
// every name, so the list ends as soon as the library has no further user.
std::vector<std::string> PalmUserNames();
// The user's Palm Desktop folder, without a trailing backslash.  When the
// library cannot tell it, the user is told so and the result is empty.
std::string PalmUserDirectory(const std::string& user);
