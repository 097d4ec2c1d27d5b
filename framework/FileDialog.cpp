#include "FileDialog.h"

#include <cstring>

namespace {
// Room for a full path the user types; the system refuses longer ones.
constexpr std::size_t FileNameCapacity = 4096;

std::vector<char> FilterPairs(const char* filter) {
    std::vector<char> pairs;
    if (filter == nullptr) return pairs;
    for (const char* c = filter; *c != '\0'; ++c) pairs.push_back(*c == '|' ? '\0' : *c);
    // The list ends with an empty pair name.
    pairs.push_back('\0');
    pairs.push_back('\0');
    return pairs;
}

std::string NameOf(const std::string& path) {
    std::size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

CFileDialog::CFileDialog(bool openFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                         const char* filter, HWND parent)
    : CDialog(0, parent),
      m_ofn(),
      m_openFileDialog(openFileDialog),
      m_defaultExtension(defaultExtension != nullptr ? defaultExtension : ""),
      m_filter(FilterPairs(filter)),
      m_fileName(FileNameCapacity, '\0') {
    if (fileName != nullptr) std::strncpy(m_fileName.data(), fileName, m_fileName.size() - 1);
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hwndOwner = parent;
    m_ofn.hInstance = GetModuleHandleA(nullptr);
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.data();
    m_ofn.lpstrFile = m_fileName.data();
    m_ofn.nMaxFile = static_cast<DWORD>(m_fileName.size());
    m_ofn.lpstrDefExt = m_defaultExtension.empty() ? nullptr : m_defaultExtension.c_str();
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLEHOOK;
    m_ofn.lpfnHook = HookProc;
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
}

INT_PTR CFileDialog::DoModal() {
    BOOL chosen = m_openFileDialog ? GetOpenFileNameA(&m_ofn) : GetSaveFileNameA(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}

std::string CFileDialog::GetPathName() const { return std::string(m_fileName.data()); }

std::string CFileDialog::GetFileName() const { return NameOf(GetPathName()); }

std::string CFileDialog::GetFileTitle() const {
    std::string name = GetFileName();
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string CFileDialog::GetFileExt() const {
    std::string name = GetFileName();
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        reinterpret_cast<CFileDialog*>(reinterpret_cast<const OPENFILENAMEA*>(lParam)->lCustData)
            ->AttachDialogWindow(window);
    CDialog* dialog = ObjectOf(window);
    if (dialog == nullptr) return 0;
    return static_cast<UINT_PTR>(static_cast<CFileDialog*>(dialog)->RouteMessage(message, wParam, lParam));
}
