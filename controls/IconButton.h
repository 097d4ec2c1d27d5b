#pragma once
// An owner-drawn push button with an icon left of its caption, drawn with the
// desktop's visual theme when the application is themed and with the classic
// button frame otherwise.
#include "Button.h"
#include "UxTheme.h"

class CIconButton : public CButton {
public:
    // Where the parts of the face go, for a face of the given measures.
    struct Face {
        RECT item;          // the rectangle to draw
        SIZE client;        // the button's client size
        bool hasIcon;
        SIZE icon;
        bool hasCaption;
        SIZE caption;       // the measured caption
        bool pressed;
        int leftMargin;
        int iconGap;
    };
    struct Placement {
        POINT icon;
        POINT caption;
        RECT focus;         // the focus rectangle
    };
    static Placement Place(const Face& face);

    explicit CIconButton(CUxTheme& theme = CUxTheme::Process());
    ~CIconButton() override;

    // Loads icon resource id of the program at width x height; false (and no
    // icon drawn) when it cannot.
    bool LoadButtonIcon(UINT id, int width, int height);

protected:
    void DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    bool DrawThemedFace(HDC dc, const RECT& rect, UINT state);

    CUxTheme& m_theme;
    // Pixels left of the icon and between icon and caption.
    int m_leftMargin;
    int m_iconGap;
    HICON m_icon = nullptr;
    int m_iconWidth = 0;
    int m_iconHeight = 0;
};
