#include "ImportTable.h"

#include "CarRecord.h"
#include "DatabaseName.h"
#include "EntryRow.h"
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
#include <vector>

namespace {
constexpr std::uint32_t kCreator = MakePalmCode("RtLg");
constexpr std::uint32_t kType = MakePalmCode("DATA");
// Every new record is packed in a working buffer of this size; a note too
// long for it is cut so that the record fits (at 9,983 bytes).
constexpr std::size_t kWorkBufferSize = 10000;
// The fill-up records a database takes besides its car record.
constexpr int kMaxEntries = static_cast<int>(CPalmDatabase::kMaxRecords) - 1;
// Room is made at the start for a full database of records this size (the
// fixed fields and a note of some 45 characters), so that a log of up to
// that size is never moved as it grows; room not used costs nothing.
constexpr std::size_t kTypicalRecordBytes = 64;

// The car's present database, when there is one to replace.
struct PreviousDatabase {
    bool found = false;
    std::string name;
    CPalmRecord carRecord;
    bool hasCarRecord = false;
};

PreviousDatabase ReadPreviousDatabase(const std::string& path) {
    PreviousDatabase previous;
    if (path.empty()) return previous;
    CPalmDatabase database;
    try {
        if (database.ReadInPlace(path, 1) != 0) return previous;
    } catch (const CException&) {
        return previous;  // unreadable: a new car record is made instead
    }
    previous.found = !database.GetName().empty();
    previous.name = database.GetName();
    if (database.GetRecordCount() > 0) {
        // Carried over as it stands, bytes the desktop does not interpret
        // included; only the category and attribute bits start afresh.
        previous.carRecord.SetData(database.GetRecord(0).GetData());
        previous.hasCarRecord = true;
    }
    return previous;
}

CPalmRecord NewCarRecord(const std::string& carName) {
    std::array<unsigned char, kWorkBufferSize> buffer{};
    CCarRecord car(carName);
    CPalmRecord record;
    record.SetData(buffer.data(), static_cast<std::size_t>(car.PackCarRecord(buffer.data(), buffer.size())));
    return record;
}

// Packed in buffer (kWorkBufferSize bytes), whose memory the next entry reuses.
void AddEntry(CPalmDatabase& database, const CFillupRecord& entry, std::vector<unsigned char>& buffer) {
    const auto size = static_cast<std::size_t>(entry.PackFillupRecord(buffer.data(), buffer.size()));
    // The category's index straight into the attributes (none: Unfiled): the
    // record carries no copy of its name.
    database.AddRecord(buffer.data(), size, entry.categoryName.empty() ? 0 : database.FindOrAddCategory(entry.categoryName));
}
}  // namespace

bool ReportRowError(int code, const std::string& tablePath, int rowNumber) {
    const std::string text = FormatResourceString(IDS_ROW_ERROR, tablePath, rowNumber) +
                             LoadResourceString(static_cast<unsigned>(IDS_INVALID_REFILL - kInvalidRefill + code));
    return ShowMessageText(text, MB_OKCANCEL | MB_ICONERROR) == IDOK;
}

int ImportTable(const std::string& databasePath, const std::string& tablePath, const std::string& previousDatabasePath,
                const std::string& carName, const AppSettings& settings, CProgressCtrl* progress,
                const TableFileMaker& makeTable) {
    CWaitCursor wait;
    std::unique_ptr<CTableFile> table = makeTable(tablePath, settings);
    if (!table) return -1;
    // The whole range: a CSV file over 16 MB counts past 65,535 units.
    CProgressSteps steps(progress, 0, table->GetProgressMax());
    PumpMessages();

    // The new database takes the present one's name, so that it replaces
    // that database on the handheld rather than adding a second one that
    // differs only in letter case.
    const PreviousDatabase previous = ReadPreviousDatabase(previousDatabasePath);
    CPalmDatabase database(previous.found ? previous.name : MakeDatabaseName(carName), kCreator, kType, false);
    database.SpoolRecords();  // or, without a temporary file, held in memory
    database.Reserve(CPalmDatabase::kMaxRecords, CPalmDatabase::kMaxRecords * kTypicalRecordBytes);
    database.AddRecord(previous.hasCarRecord ? previous.carRecord : NewCarRecord(carName));

    CFillupRecord entry;
    int result = ReadEntryRow(*table, entry);
    while (result == kEmptyRow) result = ReadEntryRow(*table, entry);
    // The first row is taken for a heading when it is not a good row.
    if (result != 0 && result != -1) result = ReadEntryRow(*table, entry);
    int rowNumber = 1;
    int imported = 0;
    CRecordPump pump(wait);
    std::vector<unsigned char> buffer(kWorkBufferSize);
    while (result != -1) {
        steps.SetPos(table->GetProgressPos());
        // Quitting abandons the run like Cancel: a database cut short must
        // not replace the car's database on the handheld.
        if (pump.BetweenRecords() != 0) return 0;
        if (result == 0) {
            // A database cut short must not replace the car's database: the
            // run is abandoned like Cancel before the row that would not fit.
            if (imported == kMaxEntries) {
                ShowMessage(IDS_TOO_MANY_ROWS, MB_OK | MB_ICONERROR, tablePath, kMaxEntries);
                return 0;
            }
            AddEntry(database, entry, buffer);
            ++imported;
        } else if (result != kEmptyRow && !ReportRowError(result, tablePath, rowNumber)) {
            return 0;
        }
        result = ReadEntryRow(*table, entry);
        ++rowNumber;
    }
    table->Close();
    if (database.Write(databasePath) != 0) {
        ShowMessage(IDS_CANT_READ_FILE, MB_OK, databasePath);
        return -1;
    }
    return imported;
}
