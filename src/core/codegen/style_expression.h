// The style expression: the MB_ constant names that the form
// selects, joined by " | ", button set first.
#pragma once

#include <string>

#include "core/model/form.h"

namespace pw {

// Button set (always written; a Buttons list with no selection or a position
// it does not have counts as MB_OK), then the default button and the icon
// (position 0, no selection or an unknown position append nothing), then the
// ten check-state entries: system modal, task modal, help, right, RTL reading,
// set foreground, default desktop only, topmost, service notification,
// service notification NT3X, and last the Other style field's text as typed
// (a variable, a macro, an expression). Controls the layout lacks read as
// unchecked and empty.
std::string BuildStyleExpression(const Form& form);

}  // namespace pw
