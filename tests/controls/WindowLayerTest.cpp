// The dialog layer: handlers reached through real window messages, and an
// exception no command caught shown to the user with the dialog going on.
#include "Exception.h"
#include "Message.h"
#include "ScriptedDialog.h"

#include "test-controls.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
constexpr int ThrowCommand = 2000;
constexpr int LaterCommand = 2001;

struct TextlessError : CException {
    std::string GetErrorMessage() const override { return std::string(); }
};

struct UncaughtCase {
    const char* name;
    std::function<void()> raise;
    std::string expectedText;
};
}  // namespace

TEST(DialogLayer, UncaughtExceptionsShowTheirOwnTextOrTheInternalErrorAndTheDialogGoesOn) {
    const CFileException diskFull(ERROR_DISK_FULL, "C:\\out.csv");
    const std::vector<UncaughtCase> cases = {
        {"file error", [] { throw CFileException(ERROR_DISK_FULL, "C:\\out.csv"); }, diskFull.GetErrorMessage()},
        {"error without text", [] { throw TextlessError(); }, "Internal application error."},
        {"standard exception", [] { throw std::runtime_error("vector"); }, "Internal application error."},
        {"anything else", [] { throw 42; }, "Internal application error."},
    };
    ASSERT_FALSE(diskFull.GetErrorMessage().empty());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<ShownMessage> shown;
        ScopedMessageResponder responder([&](const ShownMessage& m) {
            shown.push_back(m);
            return IDOK;
        });
        int laterCommands = 0;
        bool stillOpen = false;
        ScriptedDialog dialog(
            nullptr,
            [&](ScriptedDialog& d) {
                SendMessageA(d.Window(), WM_COMMAND, ThrowCommand, 0);
                SendMessageA(d.Window(), WM_COMMAND, LaterCommand, 0);
                stillOpen = IsWindow(d.Window()) != FALSE;
            },
            [&](int id) {
                if (id == ThrowCommand) c.raise();
                if (id == LaterCommand) ++laterCommands;
                return id == ThrowCommand || id == LaterCommand;
            });
        EXPECT_EQ(dialog.DoModal(), IDOK);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, c.expectedText);
        EXPECT_EQ(shown[0].type, static_cast<unsigned>(MB_OK | MB_ICONSTOP));
        EXPECT_EQ(laterCommands, 1);
        EXPECT_TRUE(stillOpen);
    }
}

TEST(DialogLayer, OkAndCancelEndTheDialogWithTheirIds) {
    for (int id : {IDOK, IDCANCEL}) {
        ScriptedDialog dialog(nullptr, [id](ScriptedDialog& d) { SendMessageA(d.Window(), WM_COMMAND, id, 0); });
        EXPECT_EQ(dialog.DoModal(), id);
    }
}

namespace {
// Answers the tool tips' text requests with each control's id.
class TipDialog : public ScriptedDialog {
public:
    using ScriptedDialog::ScriptedDialog;

protected:
    bool OnNotify(NMHDR& header, LRESULT&) override {
        if (header.code != TTN_GETDISPINFOA) return false;
        auto& request = reinterpret_cast<NMTTDISPINFOA&>(header);
        if (!(request.uFlags & TTF_IDISHWND)) return false;
        snprintf(request.szText, sizeof request.szText, "tip %d",
                 ::GetDlgCtrlID(reinterpret_cast<HWND>(header.idFrom)));
        return true;
    }
};
}  // namespace

TEST(DialogLayer, ToolTipsAskTheDialogForEachControlsText) {
    std::vector<std::string> texts;
    TipDialog dialog([](ScriptedDialog& d) { d.EnableToolTips(); },
                     [&](ScriptedDialog& d) {
                         HWND tip = nullptr;
                         for (HWND w = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); w != nullptr;
                              w = FindWindowExA(nullptr, w, TOOLTIPS_CLASSA, nullptr))
                             if (GetWindow(w, GW_OWNER) == d.Window()) tip = w;
                         ASSERT_NE(tip, nullptr);
                         for (int id : {IDOK, IDC_TEST_IMPORT}) {
                             char text[80] = {};
                             TTTOOLINFOA tool = {};
                             tool.cbSize = TTTOOLINFOA_V1_SIZE;
                             tool.hwnd = d.Window();
                             tool.uId = reinterpret_cast<UINT_PTR>(d.Item(id));
                             tool.lpszText = text;
                             SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
                             texts.push_back(text);
                         }
                     });
    dialog.DoModal();
    const std::vector<std::string> expected = {"tip " + std::to_string(IDOK), "tip " + std::to_string(IDC_TEST_IMPORT)};
    EXPECT_EQ(texts, expected);
}
