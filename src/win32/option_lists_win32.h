// Fills the main form's lists once, while it initialises.
#pragma once

#include <windows.h>

namespace pw {

void FillOptionLists(HWND form, int advancedLayout);

}  // namespace pw
