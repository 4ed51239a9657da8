// The main form's lists: filled once, while it initialises.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/model/form.h"

namespace pw {

void FillOptionLists(HWND form, Layout layout, const std::vector<std::string>& parents);

// Widens the open list of `combo` to its longest entry in the font it has now
// (asked as it drops down, so after any change of DPI): some language names
// are longer than the closed box.
void FitDroppedWidth(HWND combo);

}  // namespace pw
