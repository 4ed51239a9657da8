#include "core/codegen/style_expression.h"

#include <cstddef>

#include "core/lex/c_lexer.h"
#include "core/model/option_tables.h"
#include "res/resource.h"

namespace pw {
namespace {

constexpr std::string_view kSeparator = " | ";

// The entry of `table` at the list's position, or null when the list has no
// selection or a position the table does not have.
template <typename Table>
const ListEntry* EntryAt(const Table& table, int position) {
    if (position < 0 || static_cast<std::size_t>(position) >= table.size()) return nullptr;
    return &table[static_cast<std::size_t>(position)];
}

// Whether `expression` holds ?, || or && outside brackets, read as the
// style reader reads it.
bool Chooses(std::string_view expression) {
    int depth = 0;
    for (const Token& t : Tokenize(expression)) {
        if (t.IsPunct("(") || t.IsPunct("[") || t.IsPunct("{"))
            ++depth;
        else if (t.IsPunct(")") || t.IsPunct("]") || t.IsPunct("}"))
            --depth;
        else if (depth == 0 && (t.IsPunct("?") || t.IsPunct("||") || t.IsPunct("&&")))
            return true;
    }
    return false;
}

void Append(std::string& out, std::string_view name) {
    out += kSeparator;
    out += name;
}

}  // namespace

std::string BuildStyleExpression(const Form& form) {
    std::string out;
    out.reserve(256);  // the longest expression is 240 characters

    const ListEntry* buttons = EntryAt(kButtonSets, form.ListPosition(IDC_BUTTONS));
    out += buttons ? buttons->constant : kButtonSets[kClearButtons].constant;

    // Position 0 of both lists has no name to write (MB_DEFBUTTON1 is never written).
    const int defButton = form.ListPosition(IDC_DEFBUTTON);
    if (defButton != 0)
        if (const ListEntry* entry = EntryAt(kDefaultButtons, defButton)) Append(out, entry->constant);

    if (const ListEntry* icon = EntryAt(kIcons, form.ListPosition(IDC_ICON)); icon && !icon->constant.empty())
        Append(out, icon->constant);

    // Application modality is the default and has no entry.
    for (std::size_t i = 1; i < kModalities.size(); ++i)
        if (form.IsChecked(kModalities[i].control)) Append(out, kModalities[i].constant);
    for (const CheckEntry& flag : kFlags)
        if (form.IsChecked(flag.control)) Append(out, flag.constant);

    // Other style joins as it stands, but for a choice (a ? b : c, a || b),
    // which binds more loosely than |: alone where nothing but MB_OK stands
    // before it, else in parentheses.
    if (const std::string other = form.Text(IDC_OTHERSTYLE); !other.empty()) {
        if (!Chooses(other))
            Append(out, other);
        else if (out == kButtonSets[kClearButtons].constant)
            out = other;
        else
            Append(out, "(" + other + ")");
    }

    return out;
}

}  // namespace pw
