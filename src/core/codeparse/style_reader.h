// Reads a style expression (MB_ names joined by "|") back into the form.
#pragma once

#include <string_view>

#include "core/model/form.h"

namespace pw {

// Sets the Buttons, Default button and Icon lists, the modality radio buttons
// and the flag check boxes from the names in `expression`, then updates the
// icon preview. Names are separated by "|" or spaces. Only what a name asks
// for is set: nothing is unchecked, a list or group that no name mentions keeps
// its position, and of several names for one list or group the last one wins.
// Numbers, unknown names and names in the wrong case are passed over.
void ReadStyleExpression(std::string_view expression, Form& form);

}  // namespace pw
