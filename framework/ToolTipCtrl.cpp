#include "ToolTipCtrl.h"

#include <commctrl.h>

namespace {
TTTOOLINFOA ToolInfo(HWND window, UINT flags, UINT_PTR id) {
    // The size of the first common-controls tool description: every version
    // accepts it.
    TTTOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = flags;
    info.hwnd = window;
    info.uId = id;
    return info;
}
}  // namespace

CToolTipCtrl::~CToolTipCtrl() {
    if (m_window != nullptr && IsWindow(m_window)) DestroyWindow(m_window);
}

bool CToolTipCtrl::Create(HWND parent, DWORD style) {
    m_window = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    return m_window != nullptr;
}

bool CToolTipCtrl::AddTool(HWND window, const std::string& text, const RECT& rect, UINT_PTR id) {
    TTTOOLINFOA info = ToolInfo(window, 0, id);
    info.rect = rect;
    info.lpszText = const_cast<char*>(text.c_str());
    return SendMessageA(m_window, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

bool CToolTipCtrl::AddWindowTool(HWND owner, HWND control) {
    TTTOOLINFOA info = ToolInfo(owner, TTF_IDISHWND | TTF_SUBCLASS, reinterpret_cast<UINT_PTR>(control));
    info.lpszText = LPSTR_TEXTCALLBACKA;
    return SendMessageA(m_window, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void CToolTipCtrl::RelayEvent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg = {};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetMessageTime();
    DWORD position = GetMessagePos();
    msg.pt.x = static_cast<short>(LOWORD(position));
    msg.pt.y = static_cast<short>(HIWORD(position));
    SendMessageA(m_window, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

int CToolTipCtrl::GetToolCount() const {
    return m_window == nullptr ? 0 : static_cast<int>(SendMessageA(m_window, TTM_GETTOOLCOUNT, 0, 0));
}
