// Shows the message box the main form describes, as a real message box.
#pragma once

#include <windows.h>

namespace pw {

void PreviewMessageBox(HWND form);

}  // namespace pw
