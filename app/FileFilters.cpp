#include "FileFilters.h"

#include "Message.h"
#include "resource.h"

#include <cctype>

std::string BuildFileFilter() {
    std::string filter = LoadResourceString(IDS_FILTER_EXCEL);
    filter += LoadResourceString(IDS_FILTER_CSV);
    filter += LoadResourceString(IDS_FILTER_ALL);
    filter += "|";
    return filter;
}

std::string BuildExportFileFilter() {
    std::string filter = BuildFileFilter();
    filter.pop_back();  // the closing "|" goes after the tracker entries
    filter += LoadResourceString(IDS_FILTER_LUBELOGGER);
    filter += LoadResourceString(IDS_FILTER_TRACKERS);
    filter += "|";
    return filter;
}

std::optional<TrackerProfile> TrackerProfileForFilter(int index) {
    // After the workbook, CSV and All Files entries.
    if (index == 4) return TrackerProfile::LubeLogger;
    if (index == 5) return TrackerProfile::Trackers;
    return std::nullopt;
}

int InitialFilterIndex(const std::string& fileName) {
    if (fileName.size() < 4 || fileName.find('.') == std::string::npos) return 0;
    std::string ending = fileName.substr(fileName.size() - 3);
    for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ending == "xls") return 1;
    return ending == "csv" ? 2 : 3;
}

std::string FilterPattern(const std::string& filter, int index) {
    // Entry index is the pair at texts 2 * index - 2 and 2 * index - 1.
    std::size_t start = 0;
    for (int text = 0; index > 0 && start <= filter.size(); ++text) {
        const std::size_t bar = filter.find('|', start);
        if (bar == std::string::npos) break;
        if (text == 2 * index - 1) return filter.substr(start, bar - start);
        start = bar + 1;
    }
    return std::string();
}

std::string ExtensionForPattern(const std::string& pattern) {
    for (const char* extension : {".xls", ".csv", ".prc"}) {
        if (pattern.find(std::string("*") + extension) != std::string::npos) return extension;
    }
    return std::string();
}

bool HasExtension(const std::string& path) {
    const std::string::size_type slash = path.find_last_of("\\/:");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.find('.') != std::string::npos;
}
