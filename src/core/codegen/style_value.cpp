#include "core/codegen/style_value.h"

#include <cstddef>

#include "core/model/option_tables.h"
#include "res/resource.h"

namespace pw {
namespace {

template <typename Table>
std::uint32_t ValueAt(const Table& table, int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= table.size()) return 0;
    return table[static_cast<std::size_t>(position)].value;
}

bool EntersPreview(int control) {
    return control != IDC_DEFAULTDESKTOP && control != IDC_SERVICE && control != IDC_SERVICE_NT3X;
}

}  // namespace

std::uint32_t ComputeStyleValue(const Form& form) {
    std::uint32_t style = ValueAt(kButtonSets, form.ListPosition(IDC_BUTTONS));
    style += ValueAt(kDefaultButtons, form.ListPosition(IDC_DEFBUTTON));
    style += ValueAt(kIcons, form.ListPosition(IDC_ICON));
    for (const CheckEntry& modality : kModalities)
        if (form.IsChecked(modality.control)) style += modality.value;
    for (const CheckEntry& flag : kFlags)
        if (EntersPreview(flag.control) && form.IsChecked(flag.control)) style += flag.value;
    return style;
}

}  // namespace pw
