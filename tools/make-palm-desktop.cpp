// make-palm-desktop: makes a Palm Desktop for the install library stand-in
// (users, their folders, sample car databases) and registers it as the
// stand-in's root, for tests and demos.
//
//   make-palm-desktop ROOT [[--no-cars] USER[=FOLDER]]...
//
// A user's folder defaults to the name with characters unfit for a folder
// name replaced; --no-cars leaves the next user's backup folder empty.
// Exit code 0 when done, 1 when something could not be made, 2 for bad usage.
#include "PalmDesktopFolder.h"
#include "SampleCars.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {
int Usage() {
    std::fprintf(stderr, "usage: make-palm-desktop ROOT [[--no-cars] USER[=FOLDER]]...\n");
    return 2;
}

std::string FolderFor(const std::string& name) {
    std::string folder;
    for (unsigned char c : name) folder += (c < 0x20 || std::strchr("\\/:*?\"<>|", c)) ? '_' : static_cast<char>(c);
    // Windows drops trailing dots and spaces from folder names.
    while (!folder.empty() && (folder.back() == '.' || folder.back() == ' ')) folder.pop_back();
    return folder.empty() ? "User" : folder;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argv[1][0] == '\0' || argv[1][0] == '-') return Usage();
    CPalmDesktopFolder desktop(argv[1]);
    std::vector<bool> withCars;
    bool nextWithCars = true;
    for (int i = 2; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--no-cars") {
            nextWithCars = false;
            continue;
        }
        const std::string::size_type equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const std::string folder = equals == std::string::npos ? FolderFor(name) : argument.substr(equals + 1);
        if (name.empty() || folder.empty()) return Usage();
        desktop.AddUser(name, folder);
        withCars.push_back(std::exchange(nextWithCars, true));
    }
    if (!nextWithCars) return Usage();

    if (!desktop.Save()) {
        std::fprintf(stderr, "make-palm-desktop: cannot make %s and its users' folders\n", desktop.GetRoot().c_str());
        return 1;
    }
    if (!CPalmDesktopFolder::RegisterRoot(desktop.GetRoot())) {
        std::fprintf(stderr, "make-palm-desktop: cannot register %s\n", desktop.GetRoot().c_str());
        return 1;
    }
    std::printf("Palm Desktop at %s\n", desktop.GetRoot().c_str());
    int result = 0;
    for (std::size_t i = 0; i < desktop.GetUsers().size(); ++i) {
        const CPalmDesktopFolder::User& user = desktop.GetUsers()[i];
        std::printf("user %s in %s\n", user.name.c_str(), desktop.UserDirectory(user).c_str());
        if (!withCars[i]) continue;
        std::vector<std::string> written;
        const bool all = WriteSampleCars(desktop.BackupFolder(user), written);
        for (const std::string& path : written) std::printf("  %s\n", path.c_str());
        if (!all) {
            std::fprintf(stderr, "make-palm-desktop: cannot write every sample car for %s\n", user.name.c_str());
            result = 1;
        }
    }
    return result;
}
