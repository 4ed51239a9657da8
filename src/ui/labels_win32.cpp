#include "ui/labels_win32.h"

namespace pw {

// Placeholder until the labels are drawn.
bool InstallLinkLabel(HWND, int, const char*, COLORREF) { return true; }
bool InstallWarningLabel(HWND, int) { return true; }
void FreeLabelResources() {}

}  // namespace pw
