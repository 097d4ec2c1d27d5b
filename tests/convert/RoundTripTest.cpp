#include "ConvertTestSupport.h"
#include "ExportDatabase.h"
#include "ImportTable.h"
#include "PalmDate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace testsupport;

namespace {
// A random car log with every kind of entry the formats carry: fill-ups
// with partial, missing or no flag, both fill-amount forms, recurring costs,
// negative prices, notes with quotes, separators, line feeds and carriage
// returns, up to sixteen categories.
std::vector<Entry> RandomLog(unsigned seed, int count) {
    std::mt19937 random(seed);
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const char* pieces[] = {"full", "\"quoted\"", "a;b", "a,b", "line\nfeed", "cr\r\nlf", "  blanks ", "", "x"};
    std::vector<std::string> categories;
    for (int i = 0; i < 1 + pick(16); ++i) categories.push_back("Cat " + std::to_string(i));
    categories.push_back("");

    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i) {
        // Dates the year window reads back: 1970 to 2031.
        const CalendarTime date = UnpackPalmDate(static_cast<std::uint16_t>(((66 + pick(62)) << 9) |
                                                                            ((1 + pick(12)) << 5) | (1 + pick(28))));
        std::string note;
        for (int p = pick(4); p > 0; --p) note += pieces[pick(9)];
        const std::string& category = categories[static_cast<std::size_t>(pick(static_cast<int>(categories.size())))];
        const std::uint32_t price = static_cast<std::uint32_t>(random()) & 0x0FFFFFFF;
        Entry entry;
        if (pick(5) == 0) {
            entry = Recurring(date, price, UnpackPalmDate(static_cast<std::uint16_t>(((66 + pick(62)) << 9) | (1 << 5) | 1)),
                              static_cast<std::uint16_t>(random()), note, category);
            if (pick(3) == 0) entry.record.recurringEndDate.reset();  // a cost without end
        } else {
            std::uint32_t fill = static_cast<std::uint32_t>(random()) & 0x7FFFFFFF;
            if (pick(3) == 0) fill = 0x80000000u | (static_cast<std::uint32_t>(random()) & 0x7FFFFFFF);
            entry = Fillup(date, static_cast<std::uint32_t>(random()), price, fill, note, category);
            const int kind = pick(3);
            entry.record.partial = kind == 1;
            entry.record.missing = kind == 2;
        }
        entry.record.priceNegative = pick(4) == 0;
        entries.push_back(entry);
    }
    return entries;
}

// The value of a fill amount in thousandths, however it is kept.
std::uint64_t FillThousandths(std::uint32_t fill) {
    return fill & CFillupRecord::kThousandthsBit ? fill & ~CFillupRecord::kThousandthsBit : fill * 10ull;
}

std::string WithoutCarriageReturns(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}
}  // namespace

TEST(RoundTrip, ExportedLogsImportBackRecordForRecord) {
    COleSession ole;
    for (unsigned seed : {1u, 2u, 3u, 2026u}) {
        SCOPED_TRACE(seed);
        const std::string folder = NewFolder("roundtrip");
        const std::string original = folder + "\\RoadtallyDBOriginal.pdb";
        const std::string copy = folder + "\\RoadtallyDBCopy.pdb";
        CCarRecord car("Original");
        const std::vector<Entry> log = RandomLog(seed, 300);
        WriteCarDatabase(original, car, log);

        // CSV files with two separators, a workbook through the factory (the
        // spreadsheet application when the prefix has one) and one through the
        // program's own workbook table file.
        const std::string own = folder + "\\own.xls";
        std::vector<std::pair<std::string, const char*>> tables = {
            {folder + "\\log.csv", ";"}, {folder + "\\log.csv", ","}, {folder + "\\log.xls", ";"}, {own, ";"}};
        for (const auto& [table, separator] : tables) {
            SCOPED_TRACE(table + " " + separator);
            auto settings = MakeSettings(separator);
            MessageLog messages;
            const bool isOwn = table == own;
            const auto maker = [isOwn](bool write, TableFileMaker factory) -> TableFileMaker {
                if (!isOwn) return factory;
                return [write](std::string name, const AppSettings&) { return OwnWorkbook(name, write); };
            };
            ASSERT_EQ(ExportDatabase(original, table, *settings, nullptr, maker(true, CreateTableFileForWrite)), 0);
            ASSERT_EQ(ImportTable(copy, table, "", "Copy", *settings, nullptr, maker(false, CreateTableFileForRead)),
                      static_cast<int>(log.size()));
            EXPECT_TRUE(messages.Messages().empty()) << messages.Texts()[0];

            const std::vector<CFillupRecord> back = ReadEntries(copy);
            const std::vector<CFillupRecord> originalEntries = ReadEntries(original);
            ASSERT_EQ(back.size(), log.size());
            for (std::size_t i = 0; i < log.size(); ++i) {
                SCOPED_TRACE(i);
                const CFillupRecord& was = log[i].record;
                const CFillupRecord& now = back[i];
                EXPECT_EQ(now.date, was.date);
                EXPECT_EQ(now.price, was.price);
                EXPECT_EQ(now.priceNegative, was.priceNegative && was.price != 0);
                EXPECT_EQ(now.partial, was.partial);
                EXPECT_EQ(now.missing, was.missing);
                EXPECT_EQ(now.recurring, was.recurring);
                // What the formats cannot carry: a carriage return in a note is
                // dropped, a recurring cost's mileage comes back 0, and a fill
                // amount of whole hundredths comes back in hundredths however
                // it was kept.
                EXPECT_EQ(now.note, WithoutCarriageReturns(was.note));
                // A record without a category reads as category 0's label.
                EXPECT_EQ(now.categoryName, originalEntries[i].categoryName);
                if (was.recurring) {
                    EXPECT_EQ(now.mileage, 0u);
                    EXPECT_EQ(now.recurringEndDate, was.recurringEndDate);
                    EXPECT_EQ(now.recurringInterval, was.recurringInterval);
                } else {
                    EXPECT_EQ(now.mileage, was.mileage);
                    EXPECT_EQ(FillThousandths(now.fillAmount), FillThousandths(was.fillAmount)) << now.fillAmount;
                }
            }
        }
        // Both workbook table files write the same cells: the same file.
        EXPECT_EQ(ReadFileBytes(folder + "\\log.xls"), ReadFileBytes(own));
    }
}
