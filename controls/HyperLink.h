#pragma once
// A static text control of a dialog turned into a web link: underlined and
// coloured text, a hand cursor, a tool tip with the address, and the address
// opened in the user's browser on a click or the space bar.
#include "Static.h"
#include "ToolTipCtrl.h"

#include <memory>
#include <string>
#include <type_traits>

class CHyperLink : public CStatic {
public:
    static constexpr DWORD OptionUnderline = 0x01;
    static constexpr DWORD OptionHoverColour = 0x02;
    static constexpr DWORD OptionFitToText = 0x04;
    static constexpr DWORD OptionOpenOnButtonDown = 0x08;
    static constexpr DWORD OptionFocusOnClick = 0x10;
    static constexpr DWORD OptionNoHandCursor = 0x20;
    static constexpr DWORD OptionNoFocusColour = 0x40;
    static constexpr DWORD DefaultOptions = OptionUnderline | OptionFitToText | OptionFocusOnClick;

    static constexpr COLORREF HoverColour = RGB(255, 0, 0);
    static constexpr COLORREF FocusColour = RGB(0, 128, 128);
    static constexpr COLORREF VisitedColour = RGB(128, 0, 128);
    static constexpr COLORREF LinkColour = RGB(0, 0, 255);

    CHyperLink() = default;

    // Options and the address take effect when the control is attached.
    void SetOptions(DWORD options) { m_options = options; }
    DWORD GetOptions() const { return m_options; }
    void SetURL(const std::string& url) { m_url = url; }
    const std::string& GetURL() const { return m_url; }
    bool IsVisited() const { return m_visited; }

    // Shrinks or grows the control to its text (only with OptionFitToText).
    void FitToText();
    // Opens the address; tells the user when that fails.
    void FollowLink();
    // Opens address in the browser: the shell first, then the command the
    // registry gives for .htm pages.  Greater than 32 on success.
    static int OpenLink(const std::string& address, int showCommand);
    // "Can't open link:" and what the code means, with the exclamation icon.
    static void ShowLinkError(int code);

    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct FontDeleter {
        void operator()(HFONT font) const { DeleteObject(font); }
    };
    using FontHolder = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

    COLORREF TextColour() const;
    void OnMouseMove(POINT point);

    bool m_focus = false;
    bool m_mouseOver = false;
    bool m_visited = false;
    DWORD m_options = DefaultOptions;
    std::string m_url;
    FontHolder m_linkFont;
    CToolTipCtrl m_toolTip;
};
