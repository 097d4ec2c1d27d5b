#pragma once
// Shared helpers of the conversion tests: car databases built record by
// record, files read and written whole, messages seen and answered.
#include "AppSettings.h"
#include "CarRecord.h"
#include "FillupRecord.h"
#include "Message.h"
#include "OleSession.h"
#include "PalmDatabase.h"
#include "TestFiles.h"
#include "WorkbookFileTableFile.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace testsupport {

// A fresh, empty folder for one test (no trailing backslash).
std::string NewFolder(const std::string& name);

CalendarTime Day(int year, int month, int day);
// The user's short date of t, as the locale spells it.
std::string ShortDate(CalendarTime t);

struct Entry {
    CFillupRecord record;
    std::string category;  // category label; empty for none
};
Entry Fillup(CalendarTime date, std::uint32_t mileage, std::uint32_t price, std::uint32_t fillAmount,
             const std::string& note = "", const std::string& category = "");
Entry Recurring(CalendarTime date, std::uint32_t price, CalendarTime endDate, std::uint16_t interval,
                const std::string& note = "", const std::string& category = "");

// Writes a car database the way the handheld keeps one.
void WriteCarDatabase(const std::string& path, const CCarRecord& car, const std::vector<Entry>& entries,
                      const std::string& name = "RoadtallyDBTest");

// The fill-up records of a database file (record 1 on), parsed.
std::vector<CFillupRecord> ReadEntries(const std::string& path);

// Collects every message; answers OK, or what answer() says.
class MessageLog {
public:
    explicit MessageLog(std::function<int(const ShownMessage&)> answer = nullptr);
    const std::vector<ShownMessage>& Messages() const { return m_messages; }
    std::vector<std::string> Texts() const;

private:
    std::vector<ShownMessage> m_messages;
    std::function<int(const ShownMessage&)> m_answer;
    ScopedMessageResponder m_responder;
};

// The program's own workbook table file open for writing or reading,
// whatever the prefix has registered; none when it cannot be opened.
std::unique_ptr<CTableFile> OwnWorkbook(const std::string& name, bool write,
                                        CWorkbookFileTableFile::FileMaker makeFile = nullptr);

// Whether the prefix has a spreadsheet application ("Excel.Application").
bool SpreadsheetRegistered();

// Settings as the program makes them, with the separator and line-feed
// option the test asks for; whatever Palm Desktop says is swallowed.
std::unique_ptr<AppSettings> MakeSettings(const std::string& separator, int exportnocr = 0);

// The cells of every line of a CSV file as the export writes it (quoted
// cells, separator between, CR LF rows), for checking written files
// independently of the program's reader.
std::vector<std::vector<std::string>> SplitWrittenCsv(const std::string& bytes, char separator);

}  // namespace testsupport
