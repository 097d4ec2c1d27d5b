#include "TrackerExport.h"

#include "CarRecord.h"
#include "Exception.h"
#include "File.h"
#include "FillupRecord.h"
#include "LocalTime.h"
#include "Message.h"
#include "MessagePump.h"
#include "PalmDatabase.h"
#include "ProgressSteps.h"
#include "TrackerText.h"
#include "WaitCursor.h"
#include "resource.h"

#include <windows.h>

#include <cstdio>

namespace {
constexpr std::size_t kLongestErrorText = 1000;

using Cells = std::vector<std::string>;

// One file's rows, kept until the run ends: a file without rows is never
// written.
struct TrackerFile {
    std::string suffix;  // before the extension of the file the user named
    Cells heading;
    std::vector<Cells> rows;
};

enum class RecordKind { Fillup, OneOffCost, RecurringCost };

RecordKind KindOf(const CFillupRecord& entry) {
    if (entry.recurring) return RecordKind::RecurringCost;
    if ((entry.fillAmount & ~CFillupRecord::kThousandthsBit) == 0) return RecordKind::OneOffCost;
    return RecordKind::Fillup;
}

std::string Text(const std::string& windows1252) { return tracker::Windows1252ToUtf8(windows1252); }

std::string TwoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string IsoDate(CalendarTime t) {
    const LocalTimeFields f = ToLocalFields(t);
    return std::to_string(f.year) + "-" + TwoDigits(f.month) + "-" + TwoDigits(f.day);
}

// The importer would read a Date cell in its server's locale; three plain
// numbers read the same everywhere.
Cells DayMonthYear(CalendarTime t) {
    const LocalTimeFields f = ToLocalFields(t);
    return {std::to_string(f.day), std::to_string(f.month), std::to_string(f.year)};
}

std::string Flag(bool value) { return value ? "true" : "false"; }

// The note with what the tracker's own fields cannot say, in parentheses.
std::string NoteWith(const std::string& note, const std::string& extra) {
    return note.empty() ? extra : Text(note) + " (" + extra + ")";
}

std::string Recurrence(const CFillupRecord& entry) {
    std::string text = entry.recurringInterval == 1 ? std::string("every month")
                                                     : "every " + std::to_string(entry.recurringInterval) + " months";
    if (entry.recurringEndDate) text += " until " + IsoDate(*entry.recurringEndDate);
    return text;
}

// LubeLogger splits its tags at blanks: a category is one tag.
std::string Tag(const std::string& category) {
    std::string tag = Text(category);
    for (char& c : tag) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') c = '_';
    }
    return tag;
}

std::string Description(const std::string& category) { return category.empty() ? "Cost" : Text(category); }

class CRowWriter {
public:
    CRowWriter(TrackerProfile profile, bool decimalComma, bool gallons)
        : m_profile(profile), m_comma(decimalComma), m_gallons(gallons) {
        if (profile == TrackerProfile::LubeLogger) {
            m_files = {{"", {"Day", "Month", "Year", "Odometer", "FuelConsumed", "Cost", "IsFillToFull",
                             "MissedFuelUp", "Notes", "Tags"}, {}},
                       {" - services",
                        {"Day", "Month", "Year", "Odometer", "Description", "Cost", "Notes", "Tags"},
                        {}},
                       {" - taxes", {"Day", "Month", "Year", "Description", "Cost", "Notes", "Tags"}, {}}};
        } else {
            // Tracktor maps a heading to every field whose hint word it holds,
            // in file order: "Total Cost" must come before "Price Per Unit",
            // and the amount is "Volume" ("Fuel Amount" would be a cost too).
            m_files = {{"", {"Date", "Odometer", "Volume", "Total Cost", "Full Tank", "Missed", "Notes",
                             "Price Per Unit", "Category"}, {}},
                       {" - costs", {"Date", "Odometer", "Category", "Cost", "Notes", "Recurring Every (months)",
                                     "Recurring Until"}, {}}};
        }
    }

    void Add(const CFillupRecord& entry, int& fillupsAsCosts) {
        if (m_profile == TrackerProfile::LubeLogger)
            AddLubeLogger(entry);
        else
            AddTrackers(entry, fillupsAsCosts);
    }

    std::vector<TrackerFile>& Files() { return m_files; }

private:
    std::string Volume(const CFillupRecord& entry) const {
        if (entry.fillAmount & CFillupRecord::kThousandthsBit)
            return tracker::FixedDecimal(entry.fillAmount & ~CFillupRecord::kThousandthsBit, 3, m_comma);
        return tracker::FixedDecimal(entry.fillAmount, 2, m_comma);
    }
    std::int64_t SignedPrice(const CFillupRecord& entry) const {
        return entry.priceNegative ? -static_cast<std::int64_t>(entry.price) : entry.price;
    }
    std::string Price(const CFillupRecord& entry) const {
        return tracker::FixedDecimal(SignedPrice(entry), 2, m_comma);
    }
    // LubeLogger keeps whole odometer readings: the tenths are rounded.
    std::string WholeOdometer(const CFillupRecord& entry) const {
        return std::to_string((static_cast<std::uint64_t>(entry.mileage) + 5) / 10);
    }
    std::string Odometer(const CFillupRecord& entry) const { return tracker::FixedDecimal(entry.mileage, 1, m_comma); }

    void AddLubeLogger(const CFillupRecord& entry) {
        Cells row = DayMonthYear(entry.date);
        switch (KindOf(entry)) {
        case RecordKind::Fillup:
            row.insert(row.end(), {WholeOdometer(entry), Volume(entry), Price(entry), Flag(!entry.partial),
                                   Flag(entry.missing), Text(entry.note), Tag(entry.categoryName)});
            m_files[0].rows.push_back(row);
            break;
        case RecordKind::OneOffCost:
            row.insert(row.end(), {WholeOdometer(entry), Description(entry.categoryName), Price(entry),
                                   Text(entry.note), Tag(entry.categoryName)});
            m_files[1].rows.push_back(row);
            break;
        case RecordKind::RecurringCost:
            // One row at the cost's date: the occurrences after it are the
            // handheld's reckoning, not records.
            row.insert(row.end(), {Description(entry.categoryName), Price(entry),
                                   NoteWith(entry.note, Recurrence(entry)), Tag(entry.categoryName)});
            m_files[2].rows.push_back(row);
            break;
        }
    }

    // Tracktor refuses a fuel log without a positive odometer, volume and
    // cost; such a fill-up is kept as a cost, its note saying what it was.
    std::string RefusalReason(const CFillupRecord& entry) const {
        if (entry.price == 0) return "without a price";
        if (entry.priceNegative) return "with a negative price";
        if (entry.mileage == 0) return "without an odometer reading";
        return std::string();
    }

    void AddTrackers(const CFillupRecord& entry, int& fillupsAsCosts) {
        const std::string date = IsoDate(entry.date);
        const std::string category = Text(entry.categoryName);
        switch (KindOf(entry)) {
        case RecordKind::Fillup: {
            const std::string reason = RefusalReason(entry);
            if (!reason.empty()) {
                ++fillupsAsCosts;
                const std::string what = "fill-up of " + Volume(entry) + (m_gallons ? " gal " : " l ") + reason;
                m_files[1].rows.push_back(
                    {date, Odometer(entry), category, Price(entry), NoteWith(entry.note, what), "", ""});
                break;
            }
            const bool thousandths = (entry.fillAmount & CFillupRecord::kThousandthsBit) != 0;
            const std::int64_t volume = entry.fillAmount & ~CFillupRecord::kThousandthsBit;
            // Hundredths of money over hundredths (or thousandths) of volume.
            const std::string perUnit =
                tracker::Quotient3(SignedPrice(entry) * (thousandths ? 10 : 1), volume, m_comma);
            m_files[0].rows.push_back({date, Odometer(entry), Volume(entry), Price(entry), Flag(!entry.partial),
                                       Flag(entry.missing), Text(entry.note), perUnit, category});
            break;
        }
        case RecordKind::OneOffCost:
            m_files[1].rows.push_back({date, Odometer(entry), category, Price(entry), Text(entry.note), "", ""});
            break;
        case RecordKind::RecurringCost:
            m_files[1].rows.push_back({date, "", category, Price(entry), Text(entry.note),
                                       std::to_string(entry.recurringInterval),
                                       entry.recurringEndDate ? IsoDate(*entry.recurringEndDate) : std::string()});
            break;
        }
    }

    TrackerProfile m_profile;
    bool m_comma;
    bool m_gallons;
    std::vector<TrackerFile> m_files;
};

void AppendRow(std::string& bytes, const Cells& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) bytes += ',';
        bytes += tracker::CsvCell(cells[i]);
    }
    bytes += "\r\n";
}

void WriteTrackerFile(const std::string& path, const TrackerFile& file) {
    std::string bytes;
    AppendRow(bytes, file.heading);
    for (const Cells& row : file.rows) AppendRow(bytes, row);
    CFile out;
    if (!out.Open(path, CFile::Mode::CreateTruncate)) throw CFileException(out.GetOpenError(), path);
    out.Write(bytes.data(), bytes.size());
    out.Close();
}

std::string CurrencyText(const TrackerExportSummary& summary) {
    if (!summary.currencySymbol.empty() && !summary.currencyCode.empty() &&
        summary.currencySymbol != summary.currencyCode)
        return summary.currencySymbol + " (" + summary.currencyCode + ")";
    if (!summary.currencyCode.empty()) return summary.currencyCode;
    if (!summary.currencySymbol.empty()) return summary.currencySymbol;
    return LoadResourceString(IDS_NO_CURRENCY);
}
}  // namespace

std::string CompanionPath(const std::string& tablePath, const std::string& suffix) {
    const std::string::size_type slash = tablePath.find_last_of("\\/:");
    const std::string::size_type dot = tablePath.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return tablePath + suffix;
    return tablePath.substr(0, dot) + suffix + tablePath.substr(dot);
}

int ExportForTracker(const std::string& databasePath, const std::string& tablePath, TrackerProfile profile,
                     bool decimalComma, CProgressCtrl* progress, TrackerExportSummary& summary) {
    CWaitCursor wait;
    summary = TrackerExportSummary();
    CPalmDatabase database;
    if (database.Read(databasePath) != 0 || database.GetRecordCount() == 0) {
        ShowMessage(IDS_CANT_READ_FILE, MB_OK, databasePath);
        return -1;
    }
    CCarRecord car;
    car.ParseCarRecord(database.GetRecord(0));
    summary.miles = car.miles;
    summary.gallons = car.gallons;
    summary.currencySymbol = car.currencySymbol;
    summary.currencyCode = car.currencyCode;

    CRowWriter writer(profile, decimalComma, car.gallons);
    {
        const int count = database.GetRecordCount();
        CProgressSteps steps(progress, 0, count);
        PumpMessages();
        CRecordPump pump(wait);
        for (int i = 1; i < count; ++i) {
            steps.SetPos(i);
            // A quit ends the run after this record; the files keep the rows
            // read so far, as the table export does.
            if (pump.BetweenRecords() != 0) break;
            CFillupRecord entry;
            entry.ParseFillupRecord(database.GetRecord(i));
            writer.Add(entry, summary.fillupsAsCosts);
        }
    }
    try {
        for (const TrackerFile& file : writer.Files()) {
            if (file.rows.empty()) continue;
            const std::string path = CompanionPath(tablePath, file.suffix);
            WriteTrackerFile(path, file);
            summary.files.push_back(path);
        }
    } catch (const CException& error) {
        ShowMessage(IDS_ERROR_WRITING_FILE, MB_OK | MB_ICONERROR, error.GetErrorMessage().substr(0, kLongestErrorText));
    }
    return 0;
}

std::string TrackerExportStatus(const TrackerExportSummary& summary) {
    if (summary.files.empty()) return LoadResourceString(IDS_STATUS_NOT_EXPORTED);
    std::string files;
    for (const std::string& file : summary.files) files += (files.empty() ? "" : ", ") + file;
    std::string status = FormatResourceString(
        IDS_STATUS_TRACKER_EXPORTED, files, LoadResourceString(summary.miles ? IDS_UNIT_MILES : IDS_UNIT_KILOMETRES),
        LoadResourceString(summary.gallons ? IDS_UNIT_GALLONS : IDS_UNIT_LITRES), CurrencyText(summary));
    if (summary.fillupsAsCosts > 0) status += FormatResourceString(IDS_STATUS_FILLUPS_AS_COSTS, summary.fillupsAsCosts);
    return status;
}
