// The web link, driven through its dialog with real window messages.
#include "HyperLink.h"
#include "Message.h"
#include "RegKey.h"
#include "ScriptedDialog.h"
#include "TestFiles.h"
#include "test-controls.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// The colour the dialog gives the link's text right now.
COLORREF LinkTextColour(ScriptedDialog& dialog, int id, LRESULT* brush = nullptr) {
    HDC dc = CreateCompatibleDC(nullptr);
    const LRESULT answer =
        SendMessageA(dialog.Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(dialog.Item(id)));
    const COLORREF colour = GetTextColor(dc);
    if (brush != nullptr) *brush = answer;
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    DeleteDC(dc);
    return colour;
}

std::string NewFolder(const std::string& name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "rtcontrols-" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// A copy of the browser stand-in under its own name; it logs to path + ".log".
std::string BrowserStandIn(const std::string& folder, const std::string& name) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string recorder(self);
    recorder = recorder.substr(0, recorder.find_last_of('\\') + 1) + "link-recorder.exe";
    const std::string copy = folder + "\\" + name + ".exe";
    CopyFileA(recorder.c_str(), copy.c_str(), FALSE);
    DeleteFileA((copy + ".log").c_str());
    return copy;
}

std::string WaitForLog(const std::string& browser) {
    const std::string log = browser + ".log";
    for (int i = 0; i < 150 && !FileExists(log); ++i) Sleep(100);
    return FileExists(log) ? ReadFileBytes(log) : std::string("(browser never started)");
}

// Sets the default value of a key under HKEY_CLASSES_ROOT for the test's
// lifetime; puts back what was there before.
class ScopedClassValue {
public:
    ScopedClassValue(std::string path, const std::string& value) : m_path(std::move(path)) {
        CRegKey old = CRegKey::Open(HKEY_CLASSES_ROOT, m_path, KEY_QUERY_VALUE);
        m_keyExisted = static_cast<bool>(old);
        m_existed = old && old.QueryString("", m_previous);
        CRegKey::Create(HKEY_CLASSES_ROOT, m_path, KEY_SET_VALUE).SetString("", value);
    }
    ~ScopedClassValue() {
        if (m_existed) CRegKey::Open(HKEY_CLASSES_ROOT, m_path, KEY_SET_VALUE).SetString("", m_previous);
        else if (m_keyExisted) RegDeleteValueA(CRegKey::Open(HKEY_CLASSES_ROOT, m_path, KEY_SET_VALUE).Get(), "");
        else RegDeleteTreeA(HKEY_CLASSES_ROOT, m_path.c_str());
    }
    ScopedClassValue(const ScopedClassValue&) = delete;
    ScopedClassValue& operator=(const ScopedClassValue&) = delete;

private:
    std::string m_path;
    std::string m_previous;
    bool m_keyExisted = false;
    bool m_existed = false;
};
}  // namespace

TEST(HyperLink, TakesItsAddressFromItsTextOrShowsTheAddress) {
    CHyperLink withText, withAddress;
    withAddress.SetURL("http://given.invalid/");
    std::string tipText, shownText;
    ScriptedDialog dialog(
        [&](ScriptedDialog& d) {
            d.BindControl(IDC_TEST_LINK, withText);
            d.BindControl(IDC_TEST_LINK2, withAddress);
        },
        [&](ScriptedDialog& d) {
            shownText = withAddress.GetWindowText();
            // The link's tool tip covers it and shows its address.
            for (HWND tip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); tip != nullptr;
                 tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) {
                char text[256] = {};
                TTTOOLINFOA tool = {};
                tool.cbSize = TTTOOLINFOA_V1_SIZE;
                tool.lpszText = text;
                if (SendMessageA(tip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)) &&
                    tool.hwnd == d.Item(IDC_TEST_LINK2))
                    tipText = text;
            }
        });
    dialog.DoModal();
    EXPECT_EQ(withText.GetURL(), "http://www.kestrelix.invalid/");
    EXPECT_EQ(withAddress.GetURL(), "http://given.invalid/");
    EXPECT_EQ(shownText, "http://given.invalid/");
    EXPECT_EQ(tipText, "http://given.invalid/");
}

TEST(HyperLink, TextColourFollowsPointerFocusAndOptions) {
    struct Case {
        const char* name;
        DWORD options;
        bool pointerOver;
        bool focus;
        bool pointerLeft;
        COLORREF expected;
    };
    const COLORREF blue = RGB(0, 0, 255), red = RGB(255, 0, 0), teal = RGB(0, 128, 128);
    const std::vector<Case> cases = {
        {"default options, untouched", 0x15, false, false, false, blue},
        {"default options keep blue under the pointer", 0x15, true, false, false, blue},
        {"hover option turns red under the pointer", 0x17, true, false, false, red},
        {"hover option, pointer gone again", 0x17, true, false, true, blue},
        {"focus turns teal", 0x15, false, true, false, teal},
        {"focus colour switched off", 0x55, false, true, false, blue},
        {"hover beats focus", 0x17, true, true, false, red},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CHyperLink link;
        link.SetOptions(c.options);
        COLORREF colour = 0;
        HWND capture = nullptr;
        LRESULT brush = 0;
        ScriptedDialog dialog([&](ScriptedDialog& d) { d.BindControl(IDC_TEST_LINK, link); },
                              [&](ScriptedDialog& d) {
                                  HWND window = d.Item(IDC_TEST_LINK);
                                  if (c.focus) SetFocus(window);
                                  if (c.pointerOver) SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
                                  if (c.pointerLeft) SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(-3, -3));
                                  capture = GetCapture();
                                  colour = LinkTextColour(d, IDC_TEST_LINK, &brush);
                              });
        dialog.DoModal();
        EXPECT_EQ(colour, c.expected);
        // The dialog's background shows through the link.
        EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH)));
        // The link holds the pointer exactly while it is over it.
        EXPECT_EQ(capture != nullptr, c.pointerOver && !c.pointerLeft);
        EXPECT_FALSE(link.IsVisited());
    }
}

TEST(HyperLink, OpensThroughTheShellElseThroughTheBrowserCommandAndMarksOnlySuccessVisited) {
    const std::string folder = NewFolder("links");
    const std::string page = folder + "\\page.rtlink";
    WriteFileBytes(page, "<html></html>");
    const std::string missing = folder + "\\missing.rtnothing";

    const std::string shellBrowser = BrowserStandIn(folder, "shell-browser");
    ScopedClassValue pageType(".rtlink", "RtLinkTest.Page");
    ScopedClassValue pageOpen("RtLinkTest.Page\\shell\\open\\command", "\"" + shellBrowser + "\" \"%1\"");

    struct Case {
        const char* name;
        std::string address;
        std::string browser;       // the stand-in the .htm command names; empty: none there
        std::string commandTail;   // what follows the browser's name in that command
        std::string expectedLog;   // empty: no browser runs
        bool visited;
    };
    const std::string quoted = BrowserStandIn(folder, "quoted-browser");
    const std::string bare = BrowserStandIn(folder, "bare-browser");
    const std::vector<Case> cases = {
        {"the shell opens the page", page, "", "", "\"" + shellBrowser + "\" \"" + page + "\"", true},
        {"quoted placeholder, switch dropped", missing, quoted, " \"%1\" -nohome", "\"" + quoted + "\"  " + missing,
         true},
        {"bare placeholder, switch dropped", missing, bare, " %1 /new", "\"" + bare + "\"  " + missing, true},
        {"the browser is missing too", missing, folder + "\\no-such-browser.exe", " \"%1\"", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedClassValue htm(".htm", "RtLinkTest.Browser");
        ScopedClassValue htmOpen("RtLinkTest.Browser\\shell\\open\\command", "\"" + c.browser + "\"" + c.commandTail);
        std::vector<ShownMessage> shown;
        ScopedMessageResponder responder([&](const ShownMessage& m) {
            shown.push_back(m);
            return IDOK;
        });
        CHyperLink link;
        link.SetURL(c.address);
        COLORREF colour = 0;
        ScriptedDialog dialog([&](ScriptedDialog& d) { d.BindControl(IDC_TEST_LINK, link); },
                              [&](ScriptedDialog& d) {
                                  SendMessageA(d.Item(IDC_TEST_LINK), WM_KEYDOWN, VK_SPACE, 0);
                                  colour = LinkTextColour(d, IDC_TEST_LINK);
                              });
        dialog.DoModal();
        EXPECT_EQ(link.IsVisited(), c.visited);
        EXPECT_EQ(colour, c.visited ? RGB(128, 0, 128) : RGB(0, 0, 255));
        if (c.visited) {
            EXPECT_TRUE(shown.empty());
            const std::string browser = c.browser.empty() ? shellBrowser : c.browser;
            EXPECT_EQ(WaitForLog(browser), c.expectedLog);
        } else {
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].text.rfind("Can't open link:\n\nThe specified ", 0), 0u) << shown[0].text;
            EXPECT_EQ(shown[0].type, static_cast<unsigned>(MB_ICONEXCLAMATION | MB_OK));
        }
    }
}

TEST(HyperLink, LinkErrorsDescribeTheirCode) {
    struct Case {
        int code;
        const char* description;
    };
    const std::vector<Case> cases = {
        {4, "Unknown Error (4) occurred."},
        {-1, "Unknown Error (-1) occurred."},
        {0, "The operating system is out\nof memory or resources."},
        {26, "A sharing violation occurred. "},
        {31, "There is no application associated\nwith the given filename extension."},
    };
    for (const auto& c : cases) {
        std::vector<ShownMessage> shown;
        ScopedMessageResponder responder([&](const ShownMessage& m) {
            shown.push_back(m);
            return IDOK;
        });
        CHyperLink::ShowLinkError(c.code);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, std::string("Can't open link:\n\n") + c.description) << c.code;
        EXPECT_EQ(shown[0].type, static_cast<unsigned>(MB_ICONEXCLAMATION | MB_OK));
    }
}

TEST(HyperLink, EveryLinkShowsTheOneHandCursor) {
    CHyperLink first, second, withoutHand;
    withoutHand.SetOptions(CHyperLink::DefaultOptions | CHyperLink::OptionNoHandCursor);
    std::vector<HCURSOR> shown;
    std::vector<LRESULT> answers;
    ScriptedDialog dialog(
        [&](ScriptedDialog& d) {
            d.BindControl(IDC_TEST_LINK, first);
            d.BindControl(IDC_TEST_LINK2, second);
            d.BindControl(IDC_TEST_LINK3, withoutHand);
        },
        [&](ScriptedDialog& d) {
            for (int id : {IDC_TEST_LINK, IDC_TEST_LINK2, IDC_TEST_LINK3}) {
                SetCursor(LoadCursorA(nullptr, IDC_ARROW));
                HWND link = d.Item(id);
                answers.push_back(SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
                                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
                shown.push_back(GetCursor());
            }
        });
    dialog.DoModal();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_NE(shown[0], nullptr);
    EXPECT_NE(shown[0], LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(shown[1], shown[0]);
    // Once loaded, even a link that would not load it shows it.
    EXPECT_EQ(shown[2], shown[0]);
    EXPECT_EQ(answers, (std::vector<LRESULT>{TRUE, TRUE, TRUE}));
}
