#pragma once
// The visual-style functions, looked up at run time so that the program also
// runs where the theme library does not exist.  The library is loaded at the
// first lookup and never released; a failed load is not retried; each entry
// is looked up once.  A missing library or entry answers as an unthemed
// desktop does.
#include <windows.h>
#include <uxtheme.h>

#include <string>

class CUxTheme {
public:
    explicit CUxTheme(std::string libraryName);
    CUxTheme(const CUxTheme&) = delete;
    CUxTheme& operator=(const CUxTheme&) = delete;

    // The process's own, over "UxTheme.dll".
    static CUxTheme& Process();

    BOOL IsAppThemed();
    HTHEME OpenThemeData(HWND window, const wchar_t* classList);
    HRESULT CloseThemeData(HTHEME theme);
    HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT* rect, const RECT* clip);

    // How often the library was loaded and entries were looked up: what the
    // once-only promise is measured by.
    int LibraryLoads() const { return m_libraryLoads; }
    int EntryLookups() const { return m_entryLookups; }

private:
    template <typename Function>
    struct Entry {
        const char* name;
        Function function = nullptr;
        bool lookedUp = false;
    };
    template <typename Function>
    Function Resolve(Entry<Function>& entry);

    std::string m_libraryName;
    HMODULE m_library = nullptr;
    bool m_libraryTried = false;
    int m_libraryLoads = 0;
    int m_entryLookups = 0;
    Entry<BOOL(WINAPI*)()> m_isAppThemed{"IsAppThemed"};
    Entry<HTHEME(WINAPI*)(HWND, LPCWSTR)> m_openThemeData{"OpenThemeData"};
    Entry<HRESULT(WINAPI*)(HTHEME)> m_closeThemeData{"CloseThemeData"};
    Entry<HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*)> m_drawThemeBackground{
        "DrawThemeBackground"};
};
