// Fuzz target of the database file reader.  The input is taken as a
// database file's bytes; every record is then parsed as a car and as a
// fill-up record and packed again.  A database that reads must also write,
// and read back with the same records.  Everything stays in memory.
#include "CarRecord.h"
#include "FillupRecord.h"
#include "PalmDatabase.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {
void Check(bool condition) {
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CPalmDatabase db;
    if (db.ReadBytes(data, size) != 0) {
        Check(db.GetRecordCount() == 0);
        return 0;
    }
    static std::vector<unsigned char> buffer(10000);
    for (int i = 0; i < db.GetRecordCount(); ++i) {
        const CPalmRecord record = db.GetRecord(i);
        CCarRecord car;
        car.ParseCarRecord(record);
        Check(car.PackCarRecord(buffer.data(), buffer.size()) >= 44);
        CFillupRecord fillup;
        fillup.ParseFillupRecord(record);
        Check(fillup.PackFillupRecord(buffer.data(), buffer.size()) >= 17);
    }

    std::vector<unsigned char> written;
    Check(db.WriteBytes(written) == 0);
    CPalmDatabase again;
    Check(again.ReadBytes(written.data(), written.size()) == 0);
    Check(again.GetRecordCount() == db.GetRecordCount());
    for (int i = 0; i < db.GetRecordCount(); ++i) {
        const CPalmRecord a = db.GetRecord(i);
        const CPalmRecord b = again.GetRecord(i);
        Check(a.GetData() == b.GetData());
        Check(a.GetAttributes() == b.GetAttributes());
        Check(a.GetUniqueId() == b.GetUniqueId());
        Check(a.GetResourceType() == b.GetResourceType() && a.GetResourceId() == b.GetResourceId());
    }
    return 0;
}
