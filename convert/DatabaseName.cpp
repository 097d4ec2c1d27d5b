#include "DatabaseName.h"

#include "PalmDatabase.h"

std::string MakeDatabaseName(const std::string& carName) {
    std::string name = "RoadtallyDB";
    for (char c : carName) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == ' ' || c == ':' || c == '/')
            name += '_';
        else if (byte >= 0x20 && byte < 0x7F && c != '\\')
            name += c;
    }
    // The temporary file, the present database looked up in the backup
    // folder and the name inside the new file must all agree, and the
    // handheld keeps no more than this.
    const std::size_t longest = CPalmDatabase::kNameSize - 1;
    if (name.size() > longest) name.resize(longest);
    return name;
}
