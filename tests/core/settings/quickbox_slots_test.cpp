// Slot commands and stored values: every menu command leads back to its slot
// and operation, and a stored value reads back as the statement.
#include "core/settings/quickbox_slots.h"

#include <gtest/gtest.h>

#include <set>

#include "res/resource.h"

namespace pw {
namespace {

TEST(QuickBoxCommands, EdgesOfBothRangesHaveFixedIdentifiers) {
    struct Case {
        int slot, load, set;
    };
    for (const Case& c :
         {Case{1, 4101, 4201}, Case{99, 4199, 4299}, Case{100, 10100, 35100}, Case{24999, 34999, 59999}}) {
        EXPECT_EQ(QuickBoxLoadCommand(c.slot), c.load) << c.slot;
        EXPECT_EQ(QuickBoxSetCommand(c.slot), c.set) << c.slot;
    }
}

TEST(QuickBoxCommands, EveryMenuSlotMapsBackAndNoTwoCommandsMeet) {
    std::set<int> seen;
    for (int slot = 1; slot <= kMaxMenuSlots; ++slot) {
        for (QuickBoxOperation op : {QuickBoxOperation::Load, QuickBoxOperation::Set}) {
            const int command = op == QuickBoxOperation::Load ? QuickBoxLoadCommand(slot) : QuickBoxSetCommand(slot);
            ASSERT_LT(command, 65536) << "WM_COMMAND carries 16 bits";
            ASSERT_TRUE(seen.insert(command).second) << "slot " << slot;
            const auto back = QuickBoxCommandOf(command);
            ASSERT_TRUE(back.has_value()) << command;
            EXPECT_EQ(back->operation, op);
            EXPECT_EQ(back->slot, slot);
        }
    }
}

TEST(QuickBoxCommands, OtherCommandsAreNoSlots) {
    for (int command : {0, IDM_QUICKBOX_LOAD, IDM_QUICKBOX_SET, 4300, 10000, 10099, 10100 + kMaxMenuSlots - 99, 35099,
                        60000, IDC_INSERT, IDC_GENERATE, IDM_CLEAR, IDM_ABOUT, IDC_QI_LIST, IDC_QI_TABS})
        EXPECT_FALSE(QuickBoxCommandOf(command).has_value()) << command;
}

TEST(StoredSlotValue, QuotedOnOneLineWithEverythingElseKept) {
    struct Case {
        const char* statement;
        const char* stored;
    };
    for (const Case& c : {
             Case{"", "\"\""},
             Case{"MessageBox(NULL, \"a\", \"b\", MB_OK);", "\"MessageBox(NULL, \"a\", \"b\", MB_OK);\""},
             Case{"MSGBOXPARAMS p;\r\np.cbSize = sizeof p;\nMessageBoxIndirect(&p);",
                  "\"MSGBOXPARAMS p;p.cbSize = sizeof p;MessageBoxIndirect(&p);\""},
             Case{"  x = 1;\r", "\"  x = 1;\""},
         })
        EXPECT_EQ(StoredSlotValue(c.statement), c.stored);
}

TEST(FitsInSlot, TheWholeLineCountsButNotTheLineBreaksDropped) {
    const std::size_t longest = kLongestSlotLine - 5 - 2;  // "Name=" and the quotes
    EXPECT_TRUE(FitsInSlot("Name", ""));
    EXPECT_TRUE(FitsInSlot("Name", std::string(longest, 'x')));
    EXPECT_FALSE(FitsInSlot("Name", std::string(longest + 1, 'x')));
    EXPECT_FALSE(FitsInSlot("LongerName", std::string(longest, 'x')));
    EXPECT_TRUE(FitsInSlot("Name", std::string(longest, 'x') + "\r\n")) << "line breaks are dropped when stored";
}

}  // namespace
}  // namespace pw
