// The Clear state of the main form, over the form interface.
#pragma once

#include "core/model/form.h"

namespace pw {

// Lists to their Clear positions, application modal, type MessageBox, every
// flag and "is a variable" box unchecked, title and text empty, then the icon
// preview updated. The code box, the warning texts and the MessageBoxIndirect
// options keep their values.
void ClearForm(Form& form);

}  // namespace pw
