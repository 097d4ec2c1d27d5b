#include "TableFileFactory.h"

#include "AppSettings.h"
#include "ComPtr.h"
#include "CsvTableFile.h"
#include "Message.h"
#include "resource.h"

#include <windows.h>
#include <ole2.h>

namespace {

constexpr DISPID kDispidApplicationQuit = 0x12E;

enum class Direction { Write, Read };

// The workbook table file for a name ending in ".xls"; none while the
// spreadsheet application cannot be started.
std::unique_ptr<CTableFile> NewWorkbookTableFile() {
    if (!IsExcelAvailable()) return nullptr;
    // The workbook table file is not part of the program yet: until it is,
    // a workbook name gets no table file, as on a machine without the
    // spreadsheet application.
    return nullptr;
}

std::unique_ptr<CTableFile> CreateTableFile(const std::string& fileName, const AppSettings& settings,
                                            Direction direction) {
    std::unique_ptr<CTableFile> table;
    if (IsExcelFileName(fileName)) {
        table = NewWorkbookTableFile();
        if (!table) return nullptr;
    } else {
        auto csv = std::make_unique<CCsvTableFile>();
        csv->SetSeparator(settings.listSeparator);
        if (direction == Direction::Write) csv->SetLineFeedFlag(settings.exportnocr);
        table = std::move(csv);
    }
    // An exception from opening (a workbook the application cannot make)
    // leaves with the table file destroyed; the caller gets the exception.
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
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(L"Excel.Application", &clsid))) return false;
    ComPtr<IUnknown> unknown;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, unknown.ReceiveVoid()))) return false;
    // A local server may come up not yet running its objects.
    if (FAILED(OleRun(unknown.Get()))) return false;
    ComPtr<IDispatch> application;
    if (FAILED(unknown->QueryInterface(IID_IDispatch, application.ReceiveVoid()))) return false;
    // The answer is yes once it started; whether it quits cleanly does not
    // change that.
    DISPPARAMS noArguments = {nullptr, nullptr, 0, 0};
    application->Invoke(kDispidApplicationQuit, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &noArguments,
                        nullptr, nullptr, nullptr);
    return true;
}
