#include "Message.h"
#include "resource.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

TEST(Message, StringTableTextsAreFilledAndSeenThroughTheSeam) {
    std::vector<ShownMessage> seen;
    ScopedMessageResponder responder([&](const ShownMessage& m) {
        seen.push_back(m);
        return IDCANCEL;
    });
    EXPECT_EQ(ShowMessage(IDS_NO_PALM_DESKTOP, MB_OK, -1), IDCANCEL);
    EXPECT_EQ(ShowMessage(IDS_CANT_READ_FILE, MB_OK, std::string("C:\\a%sb.pdb")), IDCANCEL);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, "Error: No Palm Desktop found!\n-1");
    EXPECT_EQ(seen[0].type, static_cast<unsigned>(MB_OK));
    // A path with a percent sign is an argument, never a format.
    EXPECT_EQ(seen[1].text, "Error: Can't read file C:\\a%sb.pdb");
}

TEST(Message, ResponderNestsAndRestores) {
    int outer = 0, inner = 0;
    ScopedMessageResponder a([&](const ShownMessage&) { ++outer; return IDOK; });
    {
        ScopedMessageResponder b([&](const ShownMessage&) { ++inner; return IDOK; });
        ShowMessage(IDS_INVALID_DATE, MB_OK);
    }
    ShowMessage(IDS_INVALID_DATE, MB_OK);
    EXPECT_EQ(inner, 1);
    EXPECT_EQ(outer, 1);
}

TEST(Message, LongTextsLoadWhole) {
    EXPECT_EQ(LoadResourceString(IDS_NO_USER_DIRECTORY),
              "Error getting Palm User Directory. Please save data in Palm Desktop first.");
    EXPECT_EQ(LoadResourceString(12345), "");
}
