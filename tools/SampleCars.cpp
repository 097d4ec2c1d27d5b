#include "SampleCars.h"

#include "CarRecord.h"
#include "DatabaseName.h"
#include "Exception.h"
#include "FillupRecord.h"
#include "PalmDatabase.h"

namespace {
struct Entry {
    const char* category;
    int year, month, day;
    std::uint32_t mileage;  // tenths
    std::uint32_t amount;   // hundredths (thousandths with the top bit)
    std::uint32_t price;    // hundredths
    const char* kind;       // "p" partial, "m" missing, "r" recurring, "-" refund, "" plain
    const char* note;
};

struct Car {
    const char* name;
    bool miles, gallons;
    const char* symbol;
    const char* code;
    std::vector<Entry> entries;
};

const std::vector<Car>& SampleCars() {
    static const std::vector<Car> cars = {
        {"My Car", false, false, "\x80", "EUR",
         {
             {"Fuel", 2024, 3, 2, 123456, 4567, 7235, "", "Full tank"},
             {"Fuel", 2024, 3, 20, 127890, 2050, 3310, "p", ""},
             {"Fuel", 2024, 4, 9, 131002, 0x80000000u | 38125, 6190, "", "Pump shows litres to three places"},
             {"Insurance", 2024, 1, 1, 0, 0, 48000, "r", "Yearly insurance"},
             {"Service", 2024, 5, 14, 0, 0, 2500, "-", "Refund for a wrong invoice"},
         }},
        {"Van: Delivery/2", true, true, "$", "USD",
         {
             {"Fuel", 2023, 11, 28, 520010, 1520, 5472, "", ""},
             {"Fuel", 2023, 12, 15, 524400, 1210, 4390, "m", "Missed the fill-up before"},
             {"Tax", 2023, 7, 1, 0, 0, 21000, "r", "Road tax"},
         }},
        {"Family Estate", false, false, "\xA3", "GBP",
         {
             {"Fuel", 2025, 1, 12, 452100, 4120, 5890, "", "Motorway trip"},
             {"Fuel", 2025, 2, 3, 458900, 3800, 5420, "", ""},
             {"Parking", 2025, 1, 1, 0, 0, 9000, "r", "Season ticket"},
         }},
    };
    return cars;
}

CalendarTime LocalMidnight(int year, int month, int day) {
    return FromLocalFields(LocalTimeFields{year, month, day, 0, 0, 0});
}

CPalmDatabase MakeDatabase(const Car& car) {
    CPalmDatabase database(MakeDatabaseName(car.name), MakePalmCode("RtLg"), MakePalmCode("DATA"), false);
    std::vector<unsigned char> buffer(1000);

    CCarRecord carRecord(car.name);
    carRecord.miles = car.miles;
    carRecord.gallons = car.gallons;
    carRecord.currencySymbol = car.symbol;
    carRecord.currencyCode = car.code;
    CPalmRecord record;
    record.SetData(buffer.data(), static_cast<std::size_t>(carRecord.PackCarRecord(buffer.data(), buffer.size())));
    database.AddRecord(record);

    for (const Entry& entry : car.entries) {
        CFillupRecord fillup;
        const std::string kind = entry.kind;
        fillup.date = LocalMidnight(entry.year, entry.month, entry.day);
        fillup.mileage = entry.mileage;
        fillup.price = entry.price;
        fillup.partial = kind == "p";
        fillup.missing = kind == "m";
        fillup.recurring = kind == "r";
        fillup.priceNegative = kind == "-";
        if (fillup.recurring) {
            fillup.recurringEndDate = LocalMidnight(entry.year + 5, entry.month, entry.day);
            fillup.recurringInterval = 12;
        } else {
            fillup.fillAmount = entry.amount;
        }
        fillup.note = entry.note;
        CPalmRecord fillupRecord;
        fillupRecord.SetData(buffer.data(),
                             static_cast<std::size_t>(fillup.PackFillupRecord(buffer.data(), buffer.size())));
        fillupRecord.SetCategoryName(entry.category);
        database.AddRecord(fillupRecord);
    }
    return database;
}
}  // namespace

bool WriteSampleCars(const std::string& folder, std::vector<std::string>& written) {
    bool all = true;
    for (const Car& car : SampleCars()) {
        const CPalmDatabase database = MakeDatabase(car);
        const std::string path = folder + "\\" + database.GetName() + ".pdb";
        bool done = false;
        try {
            done = database.Write(path) == 0;
        } catch (const CException&) {
        }
        if (done) written.push_back(path);
        all = all && done;
    }
    return all;
}
