#include "HyperLink.h"

#include "HandCursor.h"
#include "Message.h"
#include "RegKey.h"

#include <shellapi.h>
#include <windowsx.h>

#include <string>

namespace {
constexpr int ShellSuccessAbove = 32;

const char* LinkErrorDescription(int code) {
    switch (code) {
    case 0: return "The operating system is out\nof memory or resources.";
    case SE_ERR_FNF: return "The specified file was not found.";
    case SE_ERR_PNF: return "The specified path was not found.";
    case SE_ERR_ACCESSDENIED: return "The operating system denied\naccess to the specified file.";
    case SE_ERR_OOM: return "There was not enough memory to complete the operation.";
    case ERROR_BAD_FORMAT: return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case SE_ERR_SHARE: return "A sharing violation occurred. ";
    case SE_ERR_ASSOCINCOMPLETE: return "The filename association is\nincomplete or invalid.";
    case SE_ERR_DDETIMEOUT: return "The DDE transaction could not\nbe completed because the request timed out.";
    case SE_ERR_DDEFAIL: return "The DDE transaction failed.";
    case SE_ERR_DDEBUSY:
        return "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
    case SE_ERR_NOASSOC: return "There is no application associated\nwith the given filename extension.";
    case SE_ERR_DLLNOTFOUND: return "The specified dynamic-link library was not found.";
    default: return nullptr;
    }
}

// The browser's command line for address: the open command of the .htm file
// type with everything from its file placeholder on replaced by the address.
bool BrowserCommandLine(const std::string& address, std::string& commandLine) {
    CRegKey extension = CRegKey::Open(HKEY_CLASSES_ROOT, ".htm", KEY_QUERY_VALUE);
    std::string fileType;
    if (!extension || !extension.QueryString("", fileType)) return false;
    CRegKey open = CRegKey::Open(HKEY_CLASSES_ROOT, fileType + "\\shell\\open\\command", KEY_QUERY_VALUE);
    std::string command;
    if (!open || !open.QueryString("", command)) return false;
    std::size_t placeholder = command.find("\"%1\"");
    if (placeholder == std::string::npos) placeholder = command.find("%1");
    if (placeholder != std::string::npos) command.erase(placeholder);
    commandLine = command + " " + address;
    return true;
}
}  // namespace

void CHyperLink::PreSubclassWindow() {
    if (m_url.empty()) m_url = GetWindowText();
    if (GetWindowText().empty()) SetWindowText(m_url);

    if (HFONT font = GetFont()) {
        LOGFONTA description = {};
        GetObjectA(font, sizeof description, &description);
        description.lfUnderline = (m_options & OptionUnderline) != 0;
        m_linkFont.reset(CreateFontIndirectA(&description));
        SetFont(m_linkFont.get(), true);
        FitToText();
    } else {
        m_options &= ~OptionFitToText;
    }

    if (!(m_options & OptionNoHandCursor)) HandCursor::Load();

    if (m_toolTip.Create(m_hWnd)) m_toolTip.AddTool(m_hWnd, m_url, GetClientRect(), 1);
    CStatic::PreSubclassWindow();
}

void CHyperLink::FitToText() {
    if (!(m_options & OptionFitToText)) return;
    HWND parent = GetParent();
    RECT rect = GetWindowRect();
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    const RECT window = rect;
    const RECT client = GetClientRect();

    SIZE text = {};
    const std::string caption = GetWindowText();
    HDC dc = GetDC(m_hWnd);
    HGDIOBJ previous = SelectObject(dc, m_linkFont ? static_cast<HGDIOBJ>(m_linkFont.get()) : GetFont());
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    SelectObject(dc, previous);
    ReleaseDC(m_hWnd, dc);

    const LONG style = GetStyle();
    if (style & SS_CENTERIMAGE) {
        const int spare = ((rect.bottom - rect.top) - text.cy) / 2;
        rect.top += spare;
        rect.bottom -= spare;
    } else {
        rect.bottom = rect.top + text.cy;
    }
    // SS_CENTER and SS_RIGHT are values of the alignment field, not bits.
    const LONG alignment = style & SS_TYPEMASK;
    if (alignment == SS_CENTER) {
        const int spare = ((rect.right - rect.left) - text.cx) / 2;
        rect.left += spare;
        rect.right -= spare;
    } else if (alignment == SS_RIGHT) {
        rect.left = rect.right - text.cx;
    } else {
        rect.right = rect.left + text.cx;
    }
    const int borderWidth = (window.right - window.left) - (client.right - client.left);
    const int borderHeight = (window.bottom - window.top) - (client.bottom - client.top);
    MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left + borderWidth,
               rect.bottom - rect.top + borderHeight, TRUE);
}

void CHyperLink::FollowLink() {
    const int result = OpenLink(m_url, SW_SHOW);
    if (result <= ShellSuccessAbove) {
        MessageBeep(MB_ICONEXCLAMATION);
        ShowLinkError(result);
        return;
    }
    m_visited = true;
    Invalidate();
}

int CHyperLink::OpenLink(const std::string& address, int showCommand) {
    const int shell = static_cast<int>(reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, showCommand)));
    if (shell > ShellSuccessAbove) return shell;
    std::string commandLine;
    if (!BrowserCommandLine(address, commandLine)) return shell;
    return static_cast<int>(WinExec(commandLine.c_str(), static_cast<UINT>(showCommand)));
}

void CHyperLink::ShowLinkError(int code) {
    std::string text = "Can't open link:\n\n";
    if (const char* description = LinkErrorDescription(code)) text += description;
    else text += "Unknown Error (" + std::to_string(code) + ") occurred.";
    ShowMessageText(text, MB_ICONEXCLAMATION | MB_OK);
}

COLORREF CHyperLink::TextColour() const {
    if (m_mouseOver && (m_options & OptionHoverColour)) return HoverColour;
    if (m_focus && !(m_options & OptionNoFocusColour)) return FocusColour;
    if (m_visited) return VisitedColour;
    return LinkColour;
}

bool CHyperLink::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_CTLCOLORSTATIC) return false;
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, TextColour());
    SetBkMode(dc, TRANSPARENT);
    // The dialog's background shows through.
    result = reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH));
    return true;
}

void CHyperLink::OnMouseMove(POINT point) {
    if (!m_mouseOver) {
        m_mouseOver = true;
        Invalidate();
        SetCapture(m_hWnd);
        return;
    }
    const RECT client = GetClientRect();
    if (!PtInRect(&client, point)) {
        m_mouseOver = false;
        ReleaseCapture();
        Invalidate();
    }
}

LRESULT CHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_toolTip.GetSafeHwnd() != nullptr) m_toolTip.RelayEvent(m_hWnd, message, wParam, lParam);
    switch (message) {
    case WM_SETCURSOR:
        if (HCURSOR hand = HandCursor::Get()) {
            SetCursor(hand);
            return TRUE;
        }
        return FALSE;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_MOUSEMOVE:
        OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        break;
    case WM_LBUTTONDOWN:
        if (m_options & OptionFocusOnClick) SetFocus();
        if (m_options & OptionOpenOnButtonDown) FollowLink();
        m_focus = true;
        break;
    case WM_LBUTTONUP:
        if (m_focus && !(m_options & OptionOpenOnButtonDown)) FollowLink();
        break;
    case WM_SETFOCUS:
        m_focus = true;
        Invalidate();
        break;
    case WM_KILLFOCUS:
        m_mouseOver = false;
        m_focus = false;
        Invalidate();
        break;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            FollowLink();
            return 0;
        }
        break;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}
