// ReadStyleExpression over any bytes: no crash, lists only ever at positions
// they have, and the icon preview updated exactly once.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/codeparse/style_reader.h"
#include "core/model/option_tables.h"
#include "core/model/plain_form.h"
#include "res/resource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view expression(reinterpret_cast<const char*>(data), size);
    pw::PlainForm form(pw::Layout::Advanced);
    const int previews = form.iconPreviewUpdates;
    pw::ReadStyleExpression(expression, form);
    if (form.iconPreviewUpdates != previews + 1) __builtin_trap();
    for (int id : {IDC_BUTTONS, IDC_DEFBUTTON, IDC_ICON}) {
        const int position = form.ListPosition(id);
        if (position < 0 || position >= pw::FixedListSize(id)) __builtin_trap();
    }
    return 0;
}
