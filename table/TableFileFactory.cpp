#include "TableFileFactory.h"

#include "AppSettings.h"
#include "AutomationObject.h"
#include "CsvTableFile.h"
#include "Exception.h"
#include "ExcelTableFile.h"
#include "Message.h"
#include "SpreadsheetMembers.h"
#include "WorkbookFileTableFile.h"
#include "resource.h"

#include <windows.h>

namespace {

enum class Direction { Write, Read };

// The workbook table file for a name ending in ".xls": over the spreadsheet
// application where it can be started, else the program's own (also when
// the application went away between the check and the table file's start).
std::unique_ptr<CTableFile> NewWorkbookTableFile() {
    if (IsExcelAvailable()) {
        auto workbook = std::make_unique<CExcelTableFile>();
        if (!workbook->StartFailed()) return workbook;
    }
    return std::make_unique<CWorkbookFileTableFile>();
}

std::unique_ptr<CTableFile> CreateTableFile(const std::string& fileName, const AppSettings& settings,
                                            Direction direction) {
    std::unique_ptr<CTableFile> table;
    if (IsExcelFileName(fileName)) {
        table = NewWorkbookTableFile();
    } else {
        auto csv = std::make_unique<CCsvTableFile>();
        csv->SetSeparator(settings.listSeparator);
        if (direction == Direction::Write) csv->SetLineFeedFlag(settings.exportnocr);
        table = std::move(csv);
    }
    // An exception from opening (a workbook the application cannot make, a
    // file that is no workbook) leaves with the table file destroyed; the caller gets the exception.
    const int opened = direction == Direction::Write ? table->OpenForWrite(fileName) : table->OpenForRead(fileName);
    if (opened != 0) {
        // The same text serves for a file that cannot be written.
        ShowMessage(IDS_CANT_READ_FILE, MB_OK, fileName);
        return nullptr;
    }
    return table;
}

}  // namespace

std::unique_ptr<CTableFile> CreateTableFileForWrite(std::string fileName, const AppSettings& settings) {
    return CreateTableFile(fileName, settings, Direction::Write);
}

std::unique_ptr<CTableFile> CreateTableFileForRead(std::string fileName, const AppSettings& settings) {
    return CreateTableFile(fileName, settings, Direction::Read);
}

bool IsExcelFileName(std::string fileName) {
    static const char kExtension[] = ".xls";
    constexpr std::size_t kLength = sizeof kExtension - 1;
    if (fileName.size() < kLength) return false;
    const std::size_t start = fileName.size() - kLength;
    for (std::size_t i = 0; i < kLength; ++i) {
        char c = fileName[start + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kExtension[i]) return false;
    }
    return true;
}

bool IsExcelAvailable() {
    HRESULT status = S_OK;
    const CAutomationObject application = CAutomationObject::Start(L"Excel.Application", status);
    if (!application) return false;
    // The answer is yes once it started; whether it quits cleanly does not
    // change that.
    try {
        application.Call(spreadsheet::kQuit);
    } catch (const CException&) {
    }
    return true;
}
