#include "WorkbookDocument.h"

#include "DispatchObject.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

namespace {
std::atomic<long> g_openWorkbooks{0};

std::wstring Widened(const std::string& text) {
    return std::wstring(text.begin(), text.end());  // the codec's messages are ASCII
}

std::wstring SystemText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
        0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result = length && text ? std::wstring(text, length) : L"error " + std::to_wstring(error);
    LocalFree(text);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r' || result.back() == L' '))
        result.pop_back();
    return result;
}

// Owns one file handle.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    ~FileHandle() {
        if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return m_handle; }
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};
}  // namespace

std::shared_ptr<WorkbookDocument> WorkbookDocument::Open(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.Valid()) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            RaiseDescribed(L"'" + path + L"' could not be found.");
        RaiseDescribed(L"'" + path + L"' could not be opened: " + SystemText(error));
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF)
        RaiseDescribed(L"'" + path + L"' could not be read.");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!bytes.empty() && (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                           got != bytes.size()))
        RaiseDescribed(L"'" + path + L"' could not be read: " + SystemText(GetLastError()));
    workbook::Sheet sheet;
    std::string error;
    if (!workbook::ReadWorkbook(bytes.data(), bytes.size(), sheet, error))
        RaiseDescribed(L"'" + path + L"' is not a workbook that can be read: " + Widened(error));
    auto document = New();
    document->m_sheet = std::move(sheet);
    document->m_path = path;
    return document;
}

std::shared_ptr<WorkbookDocument> WorkbookDocument::New() {
    auto document = std::shared_ptr<WorkbookDocument>(new WorkbookDocument());
    ++g_openWorkbooks;
    return document;
}

long WorkbookDocument::OpenInProcess() { return g_openWorkbooks; }

void WorkbookDocument::Close() {
    if (!m_closed) --g_openWorkbooks;
    m_closed = true;
}

void WorkbookDocument::SaveAs(const std::wstring& path) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        RaiseDescribed(L"'" + path + L"' already exists: the application would ask whether to replace it, "
                       L"and wait for an answer nobody gives.");
    WriteFile(path, false);
    m_path = path;
}

void WorkbookDocument::Save() {
    if (m_path.empty()) RaiseDescribed(L"The workbook has no file name yet: save it with SaveAs first.");
    WriteFile(m_path, true);
}

void WorkbookDocument::WriteFile(const std::wstring& path, bool replace) {
    const std::vector<std::uint8_t> bytes = workbook::WriteWorkbook(Sheet());
    // Written whole beside the target first, then put in its place: a save
    // that fails never leaves the file saved before cut or empty.
    const std::wstring partial = path + L".saving";
    {
        FileHandle file(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
        if (!file.Valid()) RaiseDescribed(L"'" + path + L"' could not be saved: " + SystemText(GetLastError()));
        DWORD written = 0;
        if (!::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written != bytes.size()) {
            const DWORD error = GetLastError();
            DeleteFileW(partial.c_str());
            RaiseDescribed(L"'" + path + L"' could not be saved: " + SystemText(error));
        }
    }
    if (!MoveFileExW(partial.c_str(), path.c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0)) {
        const DWORD error = GetLastError();
        DeleteFileW(partial.c_str());
        RaiseDescribed(L"'" + path + L"' could not be saved: " + SystemText(error));
    }
}

workbook::Sheet& WorkbookDocument::Sheet() {
    if (m_closed) RaiseDescribed(L"The workbook has been closed.");
    return m_sheet;
}
