// Test seams of the label controls: what the shell is asked to open, and how
// many shared GDI and cursor objects and per-control records exist.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace pw {

// Replaces ShellExecuteA for the link labels; an empty function restores it.
using ShellOpenHook = std::function<void(const std::string& target)>;
void SetShellOpenHookForTesting(ShellOpenHook hook);

struct LabelResourceCounts {
    int fontsMade = 0;
    int fontsDeleted = 0;
    int cursorsMade = 0;
    int cursorsDestroyed = 0;
    int recordsMade = 0;  // LinkLabelData
    int recordsFreed = 0;
};
LabelResourceCounts LabelResourceCountsForTesting();

// The shared objects as they are now (null when not made).
HFONT LinkFontForTesting();
HFONT WarningFontForTesting();
HCURSOR HandCursorForTesting();

}  // namespace pw
