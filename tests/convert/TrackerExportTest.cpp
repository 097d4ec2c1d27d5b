// The tracker profiles through their public export: one car with every kind
// of record, the exact files each profile writes.
#include "ConvertTestSupport.h"
#include "TrackerExport.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {
class TrackerExportTest : public testing::Test {
protected:
    TrackerExportSummary Export(bool miles, const std::vector<Entry>& entries, TrackerProfile profile,
                                bool decimalComma = false) {
        CCarRecord car("Golf");
        car.miles = car.gallons = miles;
        car.currencySymbol = miles ? "$" : "";
        car.currencyCode = miles ? "USD" : "EUR";
        WriteCarDatabase(database, car, entries);
        TrackerExportSummary summary;
        EXPECT_EQ(ExportForTracker(database, table, profile, decimalComma, nullptr, summary), 0);
        return summary;
    }
    std::string File(const std::string& suffix) const { return ReadFileBytes(CompanionPath(table, suffix)); }

    std::string folder = NewFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
    std::string database = folder + "\\RoadtallyDBGolf.pdb";
    std::string table = folder + "\\golf.csv";
    MessageLog messages;
};

// Partial, missing, a refund, thousandths, costs recurring with and without
// an end, a one-off cost, a fill-up without a price; a note that needs quotes.
std::vector<Entry> EveryKind() {
    Entry partial = Fillup(Day(2006, 3, 20), 127890, 5000, 0x80000000u | 38125, "", "Fuel Super");
    partial.record.partial = true;
    Entry missing = Fillup(Day(2006, 4, 9), 131002, 4390, 1210, "", "Fuel Super");
    missing.record.missing = true;
    Entry refund = Fillup(Day(2006, 4, 10), 131500, 250, 100, "Refund", "Fuel Super");
    refund.record.priceNegative = true;
    Entry endless = Recurring(Day(2006, 7, 1), 21000, 0, 1, "", "Road tax");
    endless.record.recurringEndDate.reset();
    return {Fillup(Day(2006, 3, 1), 123456, 1999, 4523, "Shell, \"V-Power\"\r\n\x80 1.459", "Fuel Super"),
            partial, missing, refund,
            Recurring(Day(2006, 1, 1), 48000, Day(2007, 2, 1), 12, "Yearly", "Insurance"), endless,
            Fillup(Day(2006, 5, 14), 133000, 2500, 0, "", "Wash"),
            Fillup(Day(2006, 6, 1), 134000, 0, 3000, "", "Fuel Super")};
}
constexpr char kNote[] = "\"Shell, \"\"V-Power\"\"\r\n\xE2\x82\xAC 1.459\"";
}  // namespace

TEST_F(TrackerExportTest, LubeLoggerTakesFillupsServicesAndTaxesInTheirOwnFiles) {
    const TrackerExportSummary summary = Export(true, EveryKind(), TrackerProfile::LubeLogger);
    EXPECT_EQ(File(""), std::string("Day,Month,Year,Odometer,FuelConsumed,Cost,IsFillToFull,MissedFuelUp,Notes,Tags\r\n"
                                     "1,3,2006,12346,45.23,19.99,true,false,") + kNote + ",Fuel_Super\r\n"
                                     "20,3,2006,12789,38.125,50.00,false,false,,Fuel_Super\r\n"
                                     "9,4,2006,13100,12.10,43.90,true,true,,Fuel_Super\r\n"
                                     "10,4,2006,13150,1.00,-2.50,true,false,Refund,Fuel_Super\r\n"
                                     "1,6,2006,13400,30.00,0.00,true,false,,Fuel_Super\r\n");
    EXPECT_EQ(File(" - services"), "Day,Month,Year,Odometer,Description,Cost,Notes,Tags\r\n"
                                   "14,5,2006,13300,Wash,25.00,,Wash\r\n");
    EXPECT_EQ(File(" - taxes"), "Day,Month,Year,Description,Cost,Notes,Tags\r\n"
                                "1,1,2006,Insurance,480.00,Yearly (every 12 months until 2007-02-01),Insurance\r\n"
                                "1,7,2006,Road tax,210.00,every month,Road_tax\r\n");
    EXPECT_EQ(TrackerExportStatus(summary),
              "Exported to " + table + ", " + folder + "\\golf - services.csv, " + folder +
                  "\\golf - taxes.csv. This car counts in miles and gallons, with the currency $ (USD): set the "
                  "tracker's vehicle to match.");
    EXPECT_TRUE(messages.Messages().empty());

    // A server that reads decimal commas; a file without rows is not written.
    table = folder + "\\comma.csv";
    Export(true, {EveryKind()[0], EveryKind()[4]}, TrackerProfile::LubeLogger, true);
    EXPECT_NE(File("").find("\r\n1,3,2006,12346,\"45,23\",\"19,99\",true,false,"), std::string::npos);
    EXPECT_FALSE(FileExists(CompanionPath(table, " - services")));
    EXPECT_NE(File(" - taxes").find("Insurance,\"480,00\","), std::string::npos);
}

TEST_F(TrackerExportTest, OtherTrackersGetFillupsTheyTakeAndEveryOtherRecordAsACost) {
    const TrackerExportSummary summary = Export(false, EveryKind(), TrackerProfile::Trackers);
    EXPECT_EQ(File(""), std::string("Date,Odometer,Volume,Total Cost,Full Tank,Missed,Notes,Price Per Unit,Category\r\n"
                                     "2006-03-01,12345.6,45.23,19.99,true,false,") + kNote + ",0.442,Fuel Super\r\n"
                                     "2006-03-20,12789.0,38.125,50.00,false,false,,1.311,Fuel Super\r\n"
                                     "2006-04-09,13100.2,12.10,43.90,true,true,,3.628,Fuel Super\r\n");
    EXPECT_EQ(File(" - costs"),
              "Date,Odometer,Category,Cost,Notes,Recurring Every (months),Recurring Until\r\n"
              "2006-04-10,13150.0,Fuel Super,-2.50,Refund (fill-up of 1.00 l with a negative price),,\r\n"
              "2006-01-01,,Insurance,480.00,Yearly,12,2007-02-01\r\n"
              "2006-07-01,,Road tax,210.00,,1,\r\n"
              "2006-05-14,13300.0,Wash,25.00,,,\r\n"
              "2006-06-01,13400.0,Fuel Super,0.00,fill-up of 30.00 l without a price,,\r\n");
    EXPECT_EQ(TrackerExportStatus(summary),
              "Exported to " + table + ", " + folder +
                  "\\golf - costs.csv. This car counts in kilometres and litres, with the currency EUR: set the "
                  "tracker's vehicle to match. 2 fill-ups without a positive price or odometer reading are in the "
                  "costs file, since the tracker refuses them as fuel logs.");
}
