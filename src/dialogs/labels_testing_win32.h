// Test seams of the label controls: what the shell is asked to open, and how
// many shared GDI objects and per-control records were made and
// freed. Attached to a top-level window, so nothing of it is process-wide.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace pw {

struct LabelResourceCounts {
    int fontsMade = 0;
    int fontsDeleted = 0;
    int recordsMade = 0;  // LinkLabelData
    int recordsFreed = 0;
};

struct LabelSeams {
    // Replaces ShellExecuteW for the link labels when set (the target in UTF-8).
    std::function<void(const std::string& target)> shellOpen;
    // Added to as the window's labels make and free their objects.
    LabelResourceCounts counts;
};

// Attaches `seams` to the top-level window `window`; null detaches. The test
// owns them and detaches them before they go.
void AttachLabelSeamsForTesting(HWND window, LabelSeams* seams);

// The shared objects of the labels of `window`'s top-level window as they are
// now (null when not made), and the DPI they are made for (0: no label yet).
HFONT LinkFontForTesting(HWND window);
HFONT WarningFontForTesting(HWND window);
UINT LabelDpiForTesting(HWND window);

}  // namespace pw
