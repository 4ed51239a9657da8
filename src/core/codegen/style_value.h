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
// Or'ed in: the numbers and MB_ constants among the Other style field's terms
// (split at | and + outside parentheses); the rest (variables, macros,
// expressions) cannot be known here and is passed over.
std::uint32_t ComputeStyleValue(const Form& form);

}  // namespace pw
