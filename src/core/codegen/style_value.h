// The numeric style of the preview.
#pragma once

#include <cstdint>

#include "core/model/form.h"

namespace pw {

// The sum (equal to the bitwise or) of the values of the button set, default
// button, icon, system or task modality and the flags help, right, RTL
// reading, set foreground and topmost. Default desktop only and both service
// notification boxes never enter it. A list with no selection or a position it
// does not have adds nothing (the Buttons list then counts as MB_OK, 0).
std::uint32_t ComputeStyleValue(const Form& form);

}  // namespace pw
