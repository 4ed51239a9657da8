#include "core/codeparse/style_reader.h"

#include <array>
#include <optional>

#include "core/model/option_tables.h"
#include "res/resource.h"

namespace pw {
namespace {

struct IconName {
    std::string_view name;
    int position;
};

// Windows has more than one name for some icons; the writer only ever writes
// the names of kIcons, but code typed by hand uses the others as well.
constexpr std::array<IconName, 4> kIconSynonyms{{
    {"MB_ICONEXCLAMATION", 1},
    {"MB_ICONASTERISK", 2},
    {"MB_ICONERROR", 4},
    {"MB_ICONHAND", 4},
}};

template <typename Entries>
std::optional<int> PositionOf(const Entries& entries, std::string_view name) {
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (!entries[i].constant.empty() && entries[i].constant == name) return static_cast<int>(i);
    return std::nullopt;
}

template <std::size_t N>
const CheckEntry* ControlOf(const std::array<CheckEntry, N>& entries, std::string_view name) {
    for (const CheckEntry& entry : entries)
        if (entry.constant == name) return &entry;
    return nullptr;
}

std::optional<int> IconPositionOf(std::string_view name) {
    if (auto position = PositionOf(kIcons, name)) return position;
    for (const IconName& synonym : kIconSynonyms)
        if (synonym.name == name) return synonym.position;
    return std::nullopt;
}

void ApplyName(std::string_view name, Form& form) {
    bool found = false;
    if (const CheckEntry* flag = ControlOf(kFlags, name)) {
        form.SetChecked(flag->control, true);
        found = true;
    }
    if (auto position = PositionOf(kButtonSets, name)) {
        form.SetListPosition(IDC_BUTTONS, *position);
        found = true;
    }
    if (found) return;
    if (auto position = PositionOf(kDefaultButtons, name)) {
        form.SetListPosition(IDC_DEFBUTTON, *position);
        return;
    }
    if (const CheckEntry* modality = ControlOf(kModalities, name)) {
        form.CheckRadio(kModalities.front().control, kModalities.back().control, modality->control);
        return;
    }
    if (auto position = IconPositionOf(name)) form.SetListPosition(IDC_ICON, *position);
}

}  // namespace

void ReadStyleExpression(std::string_view expression, Form& form) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= expression.size(); ++i) {
        if (i < expression.size() && expression[i] != '|' && expression[i] != ' ') continue;
        if (i > start) ApplyName(expression.substr(start, i - start), form);
        start = i + 1;
    }
    form.UpdateIconPreview();
}

}  // namespace pw
