// Writes the sample database that read_with_palm_pdb.pl reads with another
// implementation of the file format: a car record and fill-ups in three
// categories, one of them empty.
#include "CarRecord.h"
#include "FillupRecord.h"
#include "PalmDatabase.h"

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s file.pdb\n", argv[0]);
        return 2;
    }
    CPalmDatabase db("RoadtallyDBPerl Van", MakePalmCode("RtLg"), MakePalmCode("DATA"), false);
    std::vector<unsigned char> buffer(10000);
    CPalmRecord record;

    CCarRecord car("Perl Van");
    car.miles = true;
    car.items.resize(1);
    record.SetData(buffer.data(), static_cast<std::size_t>(car.PackCarRecord(buffer.data(), buffer.size())));
    record.SetUniqueId(0x800001);
    db.AddRecord(record);

    const struct {
        const char* note;
        const char* category;
        unsigned char attributes;
        bool empty;
    } entries[] = {{"first", "Fuel", 0x40, false},
                   {"second entry", "Service", 0x10, false},
                   {"", "fuel", 0x00, true},
                   {"", "Fuel", 0x00, false}};
    std::uint32_t id = 0x800002;
    for (const auto& e : entries) {
        CFillupRecord fillup;
        fillup.note = e.note;
        const int length = e.empty ? 0 : fillup.PackFillupRecord(buffer.data(), buffer.size());
        record.SetData(buffer.data(), static_cast<std::size_t>(length));
        record.SetAttributes(e.attributes);
        record.SetCategoryName(e.category);
        record.SetUniqueId(id++);
        db.AddRecord(record);
    }
    return db.Write(argv[1]) == 0 ? 0 : 1;
}
