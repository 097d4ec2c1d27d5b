#include "ConvertTestSupport.h"

#include "LocalTime.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>

#include <array>

namespace testsupport {

namespace {
void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(path);
            RemoveDirectoryA(path.c_str());
        } else {
            DeleteFileA(path.c_str());
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
}
}  // namespace

std::string NewFolder(const std::string& name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "rtconvert-" + name;
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

CalendarTime Day(int year, int month, int day) { return FromLocalFields({year, month, day, 0, 0, 0}); }

std::string ShortDate(CalendarTime t) {
    const LocalTimeFields f = ToLocalFields(t);
    return LocaleDate(f.year, f.month, f.day);
}

Entry Fillup(CalendarTime date, std::uint32_t mileage, std::uint32_t price, std::uint32_t fillAmount,
             const std::string& note, const std::string& category) {
    Entry entry;
    entry.record.date = date;
    entry.record.mileage = mileage;
    entry.record.price = price;
    entry.record.fillAmount = fillAmount;
    entry.record.note = note;
    entry.category = category;
    return entry;
}

Entry Recurring(CalendarTime date, std::uint32_t price, CalendarTime endDate, std::uint16_t interval,
                const std::string& note, const std::string& category) {
    Entry entry = Fillup(date, 0, price, 0, note, category);
    entry.record.recurring = true;
    entry.record.recurringEndDate = endDate;
    entry.record.recurringInterval = interval;
    return entry;
}

void WriteCarDatabase(const std::string& path, const CCarRecord& car, const std::vector<Entry>& entries,
                      const std::string& name) {
    CPalmDatabase database(name, MakePalmCode("RtLg"), MakePalmCode("DATA"), false);
    std::vector<unsigned char> buffer(100000);
    CPalmRecord carRecord;
    carRecord.SetData(buffer.data(), static_cast<std::size_t>(car.PackCarRecord(buffer.data(), buffer.size())));
    database.AddRecord(carRecord);
    for (const Entry& entry : entries) {
        CPalmRecord record;
        record.SetData(buffer.data(),
                       static_cast<std::size_t>(entry.record.PackFillupRecord(buffer.data(), buffer.size())));
        record.SetCategoryName(entry.category);
        database.AddRecord(record);
    }
    ASSERT_EQ(database.Write(path), 0) << path;
}

std::vector<CFillupRecord> ReadEntries(const std::string& path) {
    CPalmDatabase database;
    std::vector<CFillupRecord> entries;
    if (database.Read(path) != 0) return entries;
    for (int i = 1; i < database.GetRecordCount(); ++i) {
        CFillupRecord entry;
        entry.ParseFillupRecord(database.GetRecord(i));
        entries.push_back(entry);
    }
    return entries;
}

MessageLog::MessageLog(std::function<int(const ShownMessage&)> answer)
    : m_answer(std::move(answer)), m_responder([this](const ShownMessage& message) {
          m_messages.push_back(message);
          return m_answer ? m_answer(message) : IDOK;
      }) {}

std::vector<std::string> MessageLog::Texts() const {
    std::vector<std::string> texts;
    for (const ShownMessage& message : m_messages) texts.push_back(message.text);
    return texts;
}

std::unique_ptr<AppSettings> MakeSettings(const std::string& separator, int exportnocr) {
    ScopedMessageResponder quiet([](const ShownMessage&) { return IDOK; });
    auto settings = std::make_unique<AppSettings>();
    settings->listSeparator = separator;
    settings->exportnocr = exportnocr;
    return settings;
}

std::vector<std::vector<std::string>> SplitWrittenCsv(const std::string& bytes, char separator) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string cell;
    bool quoted = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (quoted) {
            if (c == '"' && i + 1 < bytes.size() && bytes[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == separator) {
            row.push_back(cell);
            cell.clear();
        } else if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            row.push_back(cell);
            cell.clear();
            rows.push_back(row);
            row.clear();
            ++i;
        } else {
            cell += c;
        }
    }
    if (!cell.empty() || !row.empty()) {
        row.push_back(cell);
        rows.push_back(row);
    }
    return rows;
}

std::unique_ptr<CTableFile> OwnWorkbook(const std::string& name, bool write, CWorkbookFileTableFile::FileMaker makeFile) {
    auto workbook = makeFile ? std::make_unique<CWorkbookFileTableFile>(makeFile) : std::make_unique<CWorkbookFileTableFile>();
    return (write ? workbook->OpenForWrite(name) : workbook->OpenForRead(name)) == 0 ? std::move(workbook) : nullptr;
}

bool SpreadsheetRegistered() {
    CLSID clsid;
    return SUCCEEDED(CLSIDFromProgID(L"Excel.Application", &clsid));
}

}  // namespace testsupport
