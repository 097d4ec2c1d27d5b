#include "ExportDatabase.h"

#include "CarRecord.h"
#include "EuroCurrency.h"
#include "Exception.h"
#include "FillupRecord.h"
#include "Message.h"
#include "MessagePump.h"
#include "PalmDatabase.h"
#include "ProgressSteps.h"
#include "WaitCursor.h"
#include "resource.h"

#include <windows.h>

#include <array>
#include <utility>

namespace {
constexpr std::size_t kLongestErrorText = 1000;
constexpr char kEuroSign[] = "\x80";  // Windows-1252
constexpr std::uint8_t kCategoryMask = 0x0F;  // of a record's attributes

void WriteHeadingRow(CTableFile& table, const CCarRecord& car) {
    const std::string currencySign = IsEuroCurrency(car.currencyCode) ? kEuroSign : car.currencySymbol;
    table.WriteString(LoadResourceString(IDS_HEAD_DATE));
    table.WriteString(LoadResourceString(IDS_HEAD_MILEAGE) + (car.miles ? " (mi)" : " (km)"));
    table.WriteString(LoadResourceString(IDS_HEAD_PRICE) + " (" + currencySign + ")");
    table.WriteString(LoadResourceString(IDS_HEAD_FILLUP) + (car.gallons ? " (gal)" : " (l)"));
    table.WriteString(LoadResourceString(IDS_HEAD_KIND));
    table.WriteString(LoadResourceString(IDS_HEAD_NOTE));
    table.WriteString(LoadResourceString(IDS_HEAD_CATEGORY));
    table.WriteString(LoadResourceString(IDS_HEAD_END_DATE));
    table.WriteString(LoadResourceString(IDS_HEAD_INTERVAL));
    table.EndRow();
}

const char* KindText(const CFillupRecord& entry) {
    if (entry.partial) return "p";
    if (entry.missing) return "m";
    if (entry.recurring) return "r";
    return "";
}

void WriteDataRow(CTableFile& table, const CFillupRecord& entry, std::string_view category) {
    table.WriteDate(entry.date);
    if (entry.recurring)
        table.WriteString("");
    else
        table.WriteNumber(entry.mileage * 0.1, 1);
    table.WriteCurrency(entry.priceNegative ? entry.price * -0.01 : entry.price * 0.01);
    if (entry.recurring)
        table.WriteString("");
    else if (entry.fillAmount & CFillupRecord::kThousandthsBit)
        table.WriteNumber((entry.fillAmount & ~CFillupRecord::kThousandthsBit) * 0.001, 3);
    else
        table.WriteNumber(entry.fillAmount * 0.01, 2);
    table.WriteString(KindText(entry));
    table.WriteString(entry.note);
    table.WriteString(category);
    if (entry.recurring) {
        // A cost without an end date leaves the cell empty, as the import
        // reads it back.
        if (entry.recurringEndDate)
            table.WriteDate(*entry.recurringEndDate);
        else
            table.WriteString("");
        table.WriteInt(entry.recurringInterval);
    }
    table.EndRow();
}

void ReportWriteError(const CException& error) {
    ShowMessage(IDS_ERROR_WRITING_FILE, MB_OK | MB_ICONERROR, error.GetErrorMessage().substr(0, kLongestErrorText));
}
}  // namespace

int ExportDatabase(const std::string& databasePath, const std::string& tablePath, const AppSettings& settings,
                   CProgressCtrl* progress, const TableFileMaker& makeTable) {
    CWaitCursor wait;
    CPalmDatabase database;
    // A database without records has no car record to take the headings
    // from: it is as unreadable as a broken one.
    if (database.ReadInPlace(databasePath) != 0 || database.GetRecordCount() == 0) {
        ShowMessage(IDS_CANT_READ_FILE, MB_OK, databasePath);
        return -1;
    }
    std::unique_ptr<CTableFile> table = makeTable(tablePath, settings);
    if (!table) return -1;

    bool reported = false;
    try {
        const int count = database.GetRecordCount();
        CProgressSteps steps(progress, 0, count);
        PumpMessages();
        CCarRecord car;
        car.ParseCarRecord(database.GetRecord(0));
        WriteHeadingRow(*table, car);
        CRecordPump pump(wait);
        // Records read where they lie into one entry for all rows, so that
        // its note's memory is reused from row to row: an entry read from a
        // record holds every field a row of its kind writes.
        std::array<std::string, CPalmDatabase::kCategoryCount> categories;
        for (std::size_t c = 0; c < categories.size(); ++c) categories[c] = database.GetCategoryLabel(static_cast<int>(c));
        CFillupRecord entry;
        for (int i = 1; i < count; ++i) {
            steps.SetPos(i);
            if (pump.BetweenRecords() != 0) break;
            const CPalmDatabase::RecordView record = database.ViewRecord(i);
            entry.ParseFillupRecord(record.data, record.size);
            WriteDataRow(*table, entry, categories[record.attributes & kCategoryMask]);
        }
    } catch (const CException& error) {
        ReportWriteError(error);
        reported = true;
    }
    // Finishing keeps every row written so far; a failure to finish is a
    // write error too, told once.
    try {
        table->FinishWrite();
    } catch (const CException& error) {
        if (!reported) ReportWriteError(error);
        reported = true;
    }
    return reported ? kExportWriteFailed : 0;
}
