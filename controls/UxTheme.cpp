#include "UxTheme.h"

#include <utility>

CUxTheme::CUxTheme(std::string libraryName) : m_libraryName(std::move(libraryName)) {}

CUxTheme& CUxTheme::Process() {
    static CUxTheme theme("UxTheme.dll");
    return theme;
}

template <typename Function>
Function CUxTheme::Resolve(Entry<Function>& entry) {
    if (entry.lookedUp) return entry.function;
    entry.lookedUp = true;
    if (!m_libraryTried) {
        m_libraryTried = true;
        ++m_libraryLoads;
        m_library = LoadLibraryA(m_libraryName.c_str());
    }
    if (m_library == nullptr) return nullptr;
    ++m_entryLookups;
    entry.function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(m_library, entry.name)));
    return entry.function;
}

BOOL CUxTheme::IsAppThemed() {
    auto function = Resolve(m_isAppThemed);
    return function != nullptr ? function() : FALSE;
}

HTHEME CUxTheme::OpenThemeData(HWND window, const wchar_t* classList) {
    auto function = Resolve(m_openThemeData);
    return function != nullptr ? function(window, classList) : nullptr;
}

HRESULT CUxTheme::CloseThemeData(HTHEME theme) {
    auto function = Resolve(m_closeThemeData);
    return function != nullptr ? function(theme) : E_FAIL;
}

HRESULT CUxTheme::DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect,
                                      const RECT* clip) {
    auto function = Resolve(m_drawThemeBackground);
    return function != nullptr ? function(theme, dc, part, state, rect, clip) : E_FAIL;
}
