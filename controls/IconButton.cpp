#include "IconButton.h"

#include "Dpi.h"
#include "ThemeHandle.h"

#include <vsstyle.h>

#include <algorithm>
#include <string>

namespace {
// Half the room left around a part: where a centred part starts.
int Centred(int room, int part) { return (room - part) >> 1; }

int FocusInset(const RECT& rect) {
    const int side = std::min(rect.right - rect.left, rect.bottom - rect.top) & ~3;
    return side > 12 ? 3 : side / 4;
}
}  // namespace

CIconButton::Placement CIconButton::Place(const Face& face) {
    const int offset = face.pressed ? 1 : 0;
    Placement placement = {};
    if (face.hasIcon) {
        placement.icon.x = face.hasCaption ? face.item.left + face.leftMargin : Centred(face.client.cx, face.icon.cx);
        placement.icon.y = Centred(face.client.cy, face.icon.cy);
        placement.icon.x += offset;
        placement.icon.y += offset;
    }
    if (face.hasCaption) {
        if (face.hasIcon) {
            const int besideIcon = face.leftMargin + face.icon.cx + face.iconGap;
            const int room = std::max(0, static_cast<int>(face.client.cx - besideIcon - face.caption.cx));
            placement.caption.x = besideIcon + room / 2;
        } else {
            placement.caption.x = Centred(face.client.cx, face.caption.cx);
        }
        // Centred text sits a pixel high of the middle to look centred.
        placement.caption.y = Centred(face.client.cy, face.caption.cy) - 1;
        placement.caption.x += offset;
        placement.caption.y += offset;
    }
    placement.focus = face.item;
    const int inset = FocusInset(face.item);
    InflateRect(&placement.focus, -inset, -inset);
    return placement;
}

CIconButton::CIconButton(CUxTheme& theme)
    : m_theme(theme), m_leftMargin(Dpi::Scale(4)), m_iconGap(Dpi::Scale(8)) {}

CIconButton::~CIconButton() {
    if (m_icon != nullptr) DestroyIcon(m_icon);
}

bool CIconButton::LoadButtonIcon(UINT id, int width, int height) {
    HICON icon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
    if (icon == nullptr) return false;
    if (m_icon != nullptr) DestroyIcon(m_icon);
    m_icon = icon;
    m_iconWidth = width;
    m_iconHeight = height;
    if (m_hWnd != nullptr) Invalidate();
    return true;
}

bool CIconButton::DrawThemedFace(HDC dc, const RECT& rect, UINT state) {
    if (!m_theme.IsAppThemed()) return false;
    ThemeHandle theme(m_theme, m_hWnd, L"BUTTON");
    if (theme.Get() == nullptr) return false;
    const int themeState = (state & ODS_SELECTED) ? PBS_PRESSED : (state & ODS_FOCUS) ? PBS_DEFAULTED : PBS_NORMAL;
    return SUCCEEDED(m_theme.DrawThemeBackground(theme.Get(), dc, BP_PUSHBUTTON, themeState, &rect, nullptr));
}

void CIconButton::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const UINT look = disabled ? DSS_DISABLED : DSS_NORMAL;

    // A theme that cannot draw leaves the classic face rather than none.
    const bool themed = DrawThemedFace(dc, rect, item.itemState);
    if (!themed) DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

    const std::string caption = GetWindowText();
    HGDIOBJ previousFont = SelectObject(dc, GetFont() != nullptr ? GetFont() : GetStockObject(DEFAULT_GUI_FONT));
    RECT measured = {};
    if (!caption.empty())
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, DT_CALCRECT | DT_SINGLELINE);

    const RECT client = GetClientRect();
    Face face = {item.rcItem,
                 SIZE{client.right - client.left, client.bottom - client.top},
                 m_icon != nullptr,
                 SIZE{m_iconWidth, m_iconHeight},
                 !caption.empty(),
                 SIZE{measured.right - measured.left, measured.bottom - measured.top},
                 pressed,
                 m_leftMargin,
                 m_iconGap};
    const Placement placement = Place(face);

    if (m_icon != nullptr)
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(m_icon), 0, placement.icon.x, placement.icon.y,
                   m_iconWidth, m_iconHeight, DST_ICON | look);
    if (!caption.empty()) {
        SetBkMode(dc, TRANSPARENT);
        // The caption's "&" marks the access key, underlined as on any button.
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(caption.c_str()),
                   static_cast<WPARAM>(caption.size()), placement.caption.x, placement.caption.y, face.caption.cx,
                   face.caption.cy, DST_PREFIXTEXT | look);
    }
    SelectObject(dc, previousFont);

    // The face was drawn afresh, so the focus rectangle (which inverts) is
    // drawn exactly while the button has the focus: never a stale one.
    if (!themed && !disabled && (item.itemState & ODS_FOCUS)) DrawFocusRect(dc, &placement.focus);
}
