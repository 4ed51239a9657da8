// The fixed vocabulary of the main form: what each list shows, what each list
// position, radio button and check box means as an MB_ constant, and the
// language table. Positions are the ones the filled lists end up with.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace pw {

struct ListEntry {
    std::string_view text;      // what the list shows
    std::string_view constant;  // MB_ name; empty for "no constant"
    std::uint32_t value;        // the constant's value in the Windows headers
};

// By list position (the Buttons and Default button lists are sorted; these are
// the positions after sorting).
extern const std::array<ListEntry, 6> kButtonSets;
extern const std::array<ListEntry, 4> kDefaultButtons;
extern const std::array<ListEntry, 6> kIcons;
// The predefined system icon (a resource number such as IDI_QUESTION's 32514)
// the form previews for each icon position; 0 for none. The user's own icon
// exists only in the user's program, so the application icon stands in.
inline constexpr std::array<int, 6> kIconPreviewIds{0, 32515, 32516, 32514, 32513, 32512};

// Texts in the order they are added to the lists (sorted lists place them).
extern const std::array<std::string_view, 6> kButtonSetAddOrder;
extern const std::array<std::string_view, 4> kDefaultButtonAddOrder;

// Check boxes and radio buttons that stand for one constant each.
struct CheckEntry {
    int control;
    std::string_view constant;
    std::uint32_t value;
};
extern const std::array<CheckEntry, 3> kModalities;  // application, system, task
extern const std::array<CheckEntry, 8> kFlags;       // in style-expression order

struct LanguageRow {
    std::string_view id;    // "0x" and four lower-case hex digits
    std::string_view name;  // shown in the language list
};
inline constexpr int kLanguageCount = 107;
extern const std::array<LanguageRow, kLanguageCount> kLanguages;

// Clear-state positions.
inline constexpr int kClearButtons = 1;
inline constexpr int kClearDefButton = 0;
inline constexpr int kClearIcon = 0;
inline constexpr int kClearLanguage = 1;
inline constexpr int kClearParent = 0;
inline constexpr int kUserIconPosition = 5;

// Entries in a fixed list, or 0 for lists whose entries come from settings.
int FixedListSize(int id);

}  // namespace pw
