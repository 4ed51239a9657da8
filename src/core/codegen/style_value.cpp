#include "core/codegen/style_value.h"

#include <cstddef>
#include <string>
#include <string_view>

#include "core/model/header_names.h"
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

bool IsNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '\'';
}

// The value of one term of Other style: a number or an MB_ constant, spaces
// and parentheses around it allowed; 0 for anything else.
std::uint32_t TermValue(std::string_view term) {
    for (;;) {
        while (!term.empty() && (term.front() == ' ' || term.front() == '\t')) term.remove_prefix(1);
        while (!term.empty() && (term.back() == ' ' || term.back() == '\t')) term.remove_suffix(1);
        if (term.size() < 2 || term.front() != '(' || term.back() != ')') break;
        term = term.substr(1, term.size() - 2);
    }
    if (term.empty()) return 0;
    for (char c : term)
        if (!IsNameCharacter(c)) return 0;
    if (term[0] >= '0' && term[0] <= '9') {
        const auto value = IntegerLiteralValue(term);
        return value ? static_cast<std::uint32_t>(*value) : 0;
    }
    // As with their boxes, these never enter the preview.
    if (term == "MB_DEFAULT_DESKTOP_ONLY" || term == "MB_SERVICE_NOTIFICATION" ||
        term == "MB_SERVICE_NOTIFICATION_NT3X")
        return 0;
    return MessageBoxConstant(term).value_or(0);
}

// The Other style terms it can evaluate, split at | and + outside parentheses.
std::uint32_t OtherStyleValue(std::string_view other) {
    std::uint32_t value = 0;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= other.size(); ++i) {
        const char c = i < other.size() ? other[i] : '|';
        if (c == '(') ++depth;
        if (c == ')') --depth;
        if (depth != 0 || (c != '|' && c != '+')) continue;
        value |= TermValue(other.substr(start, i - start));
        start = i + 1;
    }
    return value;
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
    return style | OtherStyleValue(form.Text(IDC_OTHERSTYLE));
}

}  // namespace pw
