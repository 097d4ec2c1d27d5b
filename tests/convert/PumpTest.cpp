#include "ConvertTestSupport.h"
#include "ExportDatabase.h"
#include "ImportTable.h"
#include "MessagePump.h"
#include "ProgressSteps.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <memory>

using namespace testsupport;

namespace {
// A run started from a message handled while another run pumps, as a
// second click on Export or Import would start one.
struct NestedRun {
    std::function<int()> run;
    int result = 99;
};

LRESULT CALLBACK StartsASecondRun(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        auto* nested = reinterpret_cast<NestedRun*>(lParam);
        nested->result = nested->run();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Counts the moves of a progress bar.
int g_barMoves = 0;
WNDPROC g_barProc = nullptr;
LRESULT CALLBACK CountsMoves(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PBM_SETPOS) ++g_barMoves;
    return CallWindowProcA(g_barProc, window, message, wParam, lParam);
}

class Window {
public:
    Window(const char* className, DWORD style, HWND parent)
        : m_window(CreateWindowExA(0, className, "", style, 0, 0, 200, 20, parent, nullptr, GetModuleHandleA(nullptr),
                                   nullptr)) {}
    ~Window() { DestroyWindow(m_window); }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    HWND Get() const { return m_window; }

private:
    HWND m_window;
};
// The window whose message starts the nested run.
class NestedRunTarget {
public:
    NestedRunTarget() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = StartsASecondRun;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "RtNestedRun";
        RegisterClassA(&windowClass);
        m_window = std::make_unique<Window>("RtNestedRun", 0, HWND_MESSAGE);
    }
    void Post(NestedRun& nested) { PostMessageA(m_window->Get(), WM_APP, 0, reinterpret_cast<LPARAM>(&nested)); }

private:
    std::unique_ptr<Window> m_window;
};
}  // namespace

TEST(MessagePump, ASecondRunStartedInsideTheFirstKeepsToItsOwnObjects) {
    const std::string folder = NewFolder("nested");
    auto settings = MakeSettings(";");
    WriteCarDatabase(folder + "\\first.pdb", CCarRecord("First"),
                     {Fillup(Day(2005, 1, 1), 10, 10, 10), Fillup(Day(2005, 1, 2), 20, 20, 20),
                      Fillup(Day(2005, 1, 3), 30, 30, 30)});
    CCarRecord second("Second");
    second.miles = true;
    WriteCarDatabase(folder + "\\second.pdb", second, {Fillup(Day(2006, 2, 1), 77, 77, 77)});

    NestedRunTarget target;
    NestedRun nested{[&] { return ExportDatabase(folder + "\\second.pdb", folder + "\\second.csv", *settings, nullptr); }};
    target.Post(nested);

    MessageLog messages;
    EXPECT_EQ(ExportDatabase(folder + "\\first.pdb", folder + "\\first.csv", *settings, nullptr), 0);
    EXPECT_EQ(nested.result, 0);
    const auto first = SplitWrittenCsv(ReadFileBytes(folder + "\\first.csv"), ';');
    const auto inner = SplitWrittenCsv(ReadFileBytes(folder + "\\second.csv"), ';');
    ASSERT_EQ(first.size(), 4u);
    EXPECT_EQ(first[0][1], "Mileage (km)");
    EXPECT_EQ(first[3][1], "3.0");
    ASSERT_EQ(inner.size(), 2u);
    EXPECT_EQ(inner[0][1], "Mileage (mi)");
    EXPECT_EQ(inner[1][1], "7.7");
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(MessagePump, AnImportStartedInsideAnImportKeepsToItsOwnObjects) {
    const std::string folder = NewFolder("nestedimport");
    auto settings = MakeSettings(";");
    const std::string row = ";1;1;1\r\n";
    WriteFileBytes(folder + "\\outer.csv",
                   ShortDate(Day(2005, 1, 1)) + row + ShortDate(Day(2005, 1, 2)) + row + ShortDate(Day(2005, 1, 3)) + row);
    WriteFileBytes(folder + "\\inner.csv", ShortDate(Day(2006, 2, 1)) + ";7;7;7;;inner\r\n");

    NestedRunTarget target;
    NestedRun nested{[&] {
        return ImportTable(folder + "\\inner.pdb", folder + "\\inner.csv", "", "Inner", *settings, nullptr);
    }};
    target.Post(nested);
    MessageLog messages;
    EXPECT_EQ(ImportTable(folder + "\\outer.pdb", folder + "\\outer.csv", "", "Outer", *settings, nullptr), 3);
    EXPECT_EQ(nested.result, 1);
    const std::vector<CFillupRecord> outer = ReadEntries(folder + "\\outer.pdb");
    const std::vector<CFillupRecord> inner = ReadEntries(folder + "\\inner.pdb");
    ASSERT_EQ(outer.size(), 3u);
    EXPECT_EQ(outer[2].date, Day(2005, 1, 3));
    ASSERT_EQ(inner.size(), 1u);
    EXPECT_EQ(inner[0].note, "inner");
    CPalmDatabase innerDatabase;
    ASSERT_EQ(innerDatabase.Read(folder + "\\inner.pdb"), 0);
    EXPECT_EQ(innerDatabase.GetName(), "RoadtallyDBInner");
    EXPECT_TRUE(messages.Messages().empty());
}

namespace {
class ProgressBar {
public:
    ProgressBar() {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        m_owner = std::make_unique<Window>("STATIC", WS_POPUP, nullptr);
        m_bar = std::make_unique<Window>(PROGRESS_CLASSA, WS_CHILD, m_owner->Get());
    }
    HWND Get() const { return m_bar->Get(); }

private:
    std::unique_ptr<Window> m_owner;
    std::unique_ptr<Window> m_bar;
};
}  // namespace

TEST(MessagePump, ImportProgressSpansTheWholeOfAFileOver16Megabytes) {
    // Counted in units of 256 bytes, a file over 16 MB passes 65,535 units.
    const std::string folder = NewFolder("bigprogress");
    auto settings = MakeSettings(";");
    const std::string blankLine = std::string(9000, ' ') + "\r\n";
    std::string text;
    const std::size_t size = 17u * 1024 * 1024;
    text.reserve(size + blankLine.size() + 64);
    while (text.size() < size) text += blankLine;
    text += ShortDate(Day(2005, 1, 1)) + ";1;1;1\r\n";
    WriteFileBytes(folder + "\\big.csv", text);

    ProgressBar bar;
    ASSERT_NE(bar.Get(), nullptr);
    CProgressCtrl progress(bar.Get());
    MessageLog messages;
    EXPECT_EQ(ImportTable(folder + "\\big.pdb", folder + "\\big.csv", "", "Big", *settings, &progress), 1);
    int lower = -1, upper = -1;
    progress.GetRange(lower, upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, static_cast<int>(text.size() / 256));
    // The last row's position: near the end, not wrapped below 65,536.
    EXPECT_GT(progress.GetPos(), static_cast<int>(size / 256));
    EXPECT_LE(progress.GetPos(), upper);
}

TEST(MessagePump, ExportAdvancesTheProgressBarRecordByRecord) {
    ProgressBar bar;
    ASSERT_NE(bar.Get(), nullptr);
    CProgressCtrl progress(bar.Get());

    const std::string folder = NewFolder("progress");
    auto settings = MakeSettings(";");
    std::vector<Entry> entries;
    for (int i = 0; i < 5; ++i) entries.push_back(Fillup(Day(2005, 1, 1 + i), 1, 1, 1));
    WriteCarDatabase(folder + "\\car.pdb", CCarRecord("Car"), entries);
    MessageLog messages;
    EXPECT_EQ(ExportDatabase(folder + "\\car.pdb", folder + "\\car.csv", *settings, &progress), 0);
    int lower = -1, upper = -1;
    progress.GetRange(lower, upper);
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 6);  // the record count, car record included
    EXPECT_EQ(progress.GetPos(), 5);
}

TEST(MessagePump, TheBarMovesWhereItsLengthChangesAtMostOnceAFrameAndEndsWhereLastAsked) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    Window owner("STATIC", WS_POPUP, nullptr);
    Window bar(PROGRESS_CLASSA, WS_CHILD, owner.Get());  // 200 pixels wide
    CProgressCtrl progress(bar.Get());
    g_barProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(bar.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountsMoves)));
    constexpr DWORD kSlow = 2 * CProgressSteps::kFrameMs;
    struct Case {
        int upper, last;
        DWORD pauseMs;  // between two positions: 0 for a fast run
        int mostMoves;  // one per half pixel, and the last position
    } cases[] = {{65535, 65534, 0, 402}, {100000, 50000, 0, 202}, {300, 1, 0, 1}, {6, 5, kSlow, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.upper);
        g_barMoves = 0;
        const DWORD start = GetTickCount();
        {
            CProgressSteps steps(&progress, 0, c.upper);
            for (int i = 1; i <= c.last; ++i) {
                steps.SetPos(i);
                if (c.pauseMs == 0) continue;
                // A slow run shows each step at once, within half a pixel.
                ASSERT_LT(std::abs(progress.GetPos() - i) * 400LL, c.upper) << i;
                Sleep(c.pauseMs);
            }
        }
        EXPECT_EQ(progress.GetPos(), c.last);
        EXPECT_LE(g_barMoves, c.mostMoves);
        // A fast run: the first move, one a frame, and the last position.
        if (c.pauseMs == 0) {
            EXPECT_LE(g_barMoves, static_cast<int>((GetTickCount() - start) / CProgressSteps::kFrameMs) + 2);
        }
    }
    CProgressSteps none(nullptr, 0, 10);
    none.SetPos(3);
}

TEST(MessagePump, RecordPumpLooksAtTheQueueAtTheFirstRecordAndThenEveryInterval) {
    CWaitCursor wait;
    CRecordPump pump(wait);
    PostQuitMessage(0);
    EXPECT_EQ(pump.BetweenRecords(), -1);  // the first record always looks
    EXPECT_EQ(pump.BetweenRecords(), 0);   // within the interval it does not
    Sleep(CRecordPump::kIntervalMs + 30);
    EXPECT_EQ(pump.BetweenRecords(), -1);  // the quit is still there and seen
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}
