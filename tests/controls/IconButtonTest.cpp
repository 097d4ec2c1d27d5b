// The icon button: where its parts go, and its drawing reached through the
// dialog's owner-draw routing with real window messages.
#include "IconButton.h"
#include "ScriptedDialog.h"
#include "WindowCapture.h"
#include "test-controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

const COLORREF Red = RGB(255, 0, 0);
const COLORREF Blue = RGB(0, 0, 255);

// A theme library that is nowhere: drawing must go classic.
CUxTheme& MissingTheme() {
    static CUxTheme theme("rt-no-such-uxtheme.dll");
    return theme;
}
}  // namespace

TEST(IconButton, PlacesIconCaptionAndFocusRectangle) {
    struct Case {
        const char* name;
        SIZE client;
        bool hasIcon;
        bool hasCaption;
        LONG captionWidth;
        bool pressed;
        POINT icon;
        POINT caption;
        RECT focus;
    };
    const std::vector<Case> cases = {
        // 4 + 32 + 8 = 44 beside the icon; (100 - 44 - 40) / 2 = 8 more.
        {"icon and caption", {100, 40}, true, true, 40, false, {4, 4}, {52, 12}, {3, 3, 97, 37}},
        {"pressed moves both down and right", {100, 40}, true, true, 40, true, {5, 5}, {53, 13}, {3, 3, 97, 37}},
        {"caption wider than the room", {100, 40}, true, true, 80, false, {4, 4}, {44, 12}, {3, 3, 97, 37}},
        {"icon alone is centred", {100, 40}, true, false, 0, false, {34, 4}, {0, 0}, {3, 3, 97, 37}},
        {"caption alone is centred", {100, 40}, false, true, 40, false, {0, 0}, {30, 12}, {3, 3, 97, 37}},
        // Halving by a shift rounds toward minus infinity: (21 - 32) >> 1 = -6.
        {"icon larger than the button", {21, 21}, true, false, 0, false, {-6, -6}, {0, 0}, {3, 3, 18, 18}},
        {"10 pixels high: inset 2", {60, 10}, false, true, 20, false, {0, 0}, {20, -3}, {2, 2, 58, 8}},
        {"12 pixels: a quarter", {14, 14}, false, false, 0, false, {0, 0}, {0, 0}, {3, 3, 11, 11}},
        {"7 pixels: 1", {16, 7}, false, false, 0, false, {0, 0}, {0, 0}, {1, 1, 15, 6}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CIconButton::Face face = {RECT{0, 0, c.client.cx, c.client.cy}, c.client, c.hasIcon, SIZE{32, 32},
                                        c.hasCaption, SIZE{c.captionWidth, 13}, c.pressed, 4, 8};
        const CIconButton::Placement placement = CIconButton::Place(face);
        if (c.hasIcon) {
            EXPECT_TRUE(placement.icon == c.icon) << placement.icon.x << "," << placement.icon.y;
        }
        if (c.hasCaption) {
            EXPECT_TRUE(placement.caption == c.caption) << placement.caption.x << "," << placement.caption.y;
        }
        EXPECT_EQ(Text(placement.focus), Text(c.focus));
    }
}

TEST(IconButton, TheDialogRoutesDrawingToTheButtonItConcerns) {
    CIconButton import(MissingTheme()), exportButton(MissingTheme());
    Capture importFace, exportFace, pressedFace, disabledFace;
    RECT client = {};
    ScriptedDialog dialog(
        [&](ScriptedDialog& d) {
            d.BindControl(IDC_TEST_IMPORT, import);
            d.BindControl(IDC_TEST_EXPORT, exportButton);
            ASSERT_TRUE(import.LoadButtonIcon(IDI_TEST_RED, 32, 32));
            ASSERT_TRUE(exportButton.LoadButtonIcon(IDI_TEST_BLUE, 32, 32));
        },
        [&](ScriptedDialog& d) {
            HWND button = d.Item(IDC_TEST_IMPORT);
            GetClientRect(button, &client);
            importFace = CaptureClient(button);
            exportFace = CaptureClient(d.Item(IDC_TEST_EXPORT));
            SendMessageA(button, BM_SETSTATE, TRUE, 0);
            pressedFace = CaptureClient(button);
            SendMessageA(button, BM_SETSTATE, FALSE, 0);
            EnableWindow(button, FALSE);
            disabledFace = CaptureClient(button);
        });
    dialog.DoModal();

    const int iconTop = (client.bottom - 32) >> 1;
    EXPECT_EQ(Text(importFace.BoundsOf(Red)), Text(RECT{4, iconTop, 36, iconTop + 32}));
    EXPECT_EQ(Text(importFace.BoundsOf(Blue)), Text(RECT{}));
    EXPECT_EQ(Text(exportFace.BoundsOf(Blue)), Text(RECT{4, iconTop, 36, iconTop + 32}));
    EXPECT_EQ(Text(exportFace.BoundsOf(Red)), Text(RECT{}));
    EXPECT_EQ(Text(pressedFace.BoundsOf(Red)), Text(RECT{5, iconTop + 1, 37, iconTop + 33}));
    // Disabled, the icon is embossed: none of its own colour is left.
    EXPECT_EQ(Text(disabledFace.BoundsOf(Red)), Text(RECT{}));
    // Classic frame: dark outer edge at the bottom right, the face colour
    // inside, and the caption drawn right of the icon.
    EXPECT_EQ(importFace.At(importFace.width - 1, importFace.height - 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(importFace.At(40, 2), GetSysColor(COLOR_BTNFACE));
    EXPECT_NE(Text(importFace.BoundsOf(GetSysColor(COLOR_BTNTEXT))), Text(RECT{}));
    EXPECT_GE(importFace.BoundsOf(GetSysColor(COLOR_BTNTEXT)).left, 4 + 32 + 8);
}

TEST(IconButton, FocusRectangleShowsOnlyWhileFocusedAndNeverStays) {
    CIconButton button(MissingTheme());
    Capture before, focused, after;
    ScriptedDialog dialog([&](ScriptedDialog& d) { d.BindControl(IDC_TEST_IMPORT, button); },
                          [&](ScriptedDialog& d) {
                              HWND window = d.Item(IDC_TEST_IMPORT);
                              SetWindowTextA(window, "");
                              MoveWindow(window, 10, 10, 60, 10, FALSE);
                              SetFocus(d.Item(IDOK));
                              before = CaptureClient(window);
                              SetFocus(window);
                              focused = CaptureClient(window);
                              SetFocus(d.Item(IDOK));
                              after = CaptureClient(window);
                          });
    dialog.DoModal();
    ASSERT_EQ(before.width, 60);
    ASSERT_EQ(before.height, 10);
    // Every pixel the focus changed lies on the rectangle inset by 2.
    RECT changed = {60, 10, 0, 0};
    int changes = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 60; ++x)
            if (focused.At(x, y) != before.At(x, y)) {
                ++changes;
                changed.left = std::min<LONG>(changed.left, x);
                changed.top = std::min<LONG>(changed.top, y);
                changed.right = std::max<LONG>(changed.right, x + 1);
                changed.bottom = std::max<LONG>(changed.bottom, y + 1);
                EXPECT_TRUE(x == 2 || x == 57 || y == 2 || y == 7) << x << "," << y;
            }
    EXPECT_GT(changes, 0);
    EXPECT_EQ(Text(changed), Text(RECT{2, 2, 58, 8}));
    EXPECT_EQ(after.pixels, before.pixels);
}

TEST(IconButton, WithoutTheThemeLibraryTheLookupIsNeverRetried) {
    struct Case {
        const char* library;
        int expectedLoads;
        int expectedLookups;
    };
    // Three answers each; the present library's entry is looked up once.
    const std::vector<Case> cases = {{"rt-no-such-uxtheme.dll", 1, 0}, {"uxtheme.dll", 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.library);
        CUxTheme theme(c.library);
        for (int i = 0; i < 3; ++i) theme.IsAppThemed();
        EXPECT_EQ(theme.LibraryLoads(), c.expectedLoads);
        EXPECT_EQ(theme.EntryLookups(), c.expectedLookups);
    }
    // A button drawn twice over a missing library tries it once, and its
    // other entries are never asked for.
    CUxTheme missing("rt-also-missing-uxtheme.dll");
    CIconButton button(missing);
    ScriptedDialog dialog([&](ScriptedDialog& d) { d.BindControl(IDC_TEST_IMPORT, button); },
                          [&](ScriptedDialog& d) {
                              CaptureClient(d.Item(IDC_TEST_IMPORT));
                              CaptureClient(d.Item(IDC_TEST_IMPORT));
                          });
    dialog.DoModal();
    EXPECT_EQ(missing.LibraryLoads(), 1);
    EXPECT_EQ(missing.EntryLookups(), 0);
}
