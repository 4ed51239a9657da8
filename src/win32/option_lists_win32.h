// Fills the main form's lists once, while it initialises.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/model/form.h"

namespace pw {

void FillOptionLists(HWND form, Layout layout, const std::vector<std::string>& parents);

}  // namespace pw
