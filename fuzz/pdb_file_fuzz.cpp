// Fuzz target of the database file reader.  The input is written to a file
// of its own and read as a database; every record is then parsed as a car
// and as a fill-up record and packed again.  A database that reads must also
// write, and read back with the same records.
#include "CarRecord.h"
#include "Exception.h"
#include "FillupRecord.h"
#include "PalmDatabase.h"

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {
std::string TempPath(const char* what) {
    return (std::filesystem::temp_directory_path() /
            ("pdb_file_fuzz_" + std::to_string(getpid()) + "_" + what + ".pdb"))
        .string();
}

// The two files of this process, removed when the run ends.
struct TempFiles {
    const std::string input = TempPath("in");
    const std::string output = TempPath("out");
    ~TempFiles() {
        std::remove(input.c_str());
        std::remove(output.c_str());
    }
};

void Check(bool condition) {
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TempFiles files;
    const std::string& input = files.input;
    const std::string& output = files.output;
    if (FILE* f = std::fopen(input.c_str(), "wb")) {
        if (size > 0) std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }

    try {
        CPalmDatabase db;
        if (db.Read(input) != 0) {
            Check(db.GetRecordCount() == 0);
            return 0;
        }
        std::vector<unsigned char> buffer(10000);
        for (int i = 0; i < db.GetRecordCount(); ++i) {
            const CPalmRecord record = db.GetRecord(i);
            CCarRecord car;
            car.ParseCarRecord(record);
            Check(car.PackCarRecord(buffer.data(), buffer.size()) >= 44);
            CFillupRecord fillup;
            fillup.ParseFillupRecord(record);
            Check(fillup.PackFillupRecord(buffer.data(), buffer.size()) >= 17);
        }

        Check(db.Write(output) == 0);
        CPalmDatabase again;
        Check(again.Read(output) == 0);
        Check(again.GetRecordCount() == db.GetRecordCount());
        for (int i = 0; i < db.GetRecordCount(); ++i) {
            const CPalmRecord a = db.GetRecord(i);
            const CPalmRecord b = again.GetRecord(i);
            Check(a.GetData() == b.GetData());
            Check(a.GetAttributes() == b.GetAttributes());
            Check(a.GetUniqueId() == b.GetUniqueId());
            Check(a.GetResourceType() == b.GetResourceType() && a.GetResourceId() == b.GetResourceId());
        }
    } catch (const CException&) {
        std::abort();  // no file error is expected on a temporary file
    }
    return 0;
}
