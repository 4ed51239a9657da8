// Task-dialog configurations for the tests, the compile check and the fuzz
// seeds: a typical one, and a seeded spread over every field that the writer
// writes and the reader gives back exactly.
//
// What the spread leaves out, because it does not come back as it was (see
// the reader's header): lone CR or LF (they come back as CR LF), a backslash
// before n, r, t, u, U, a digit, a quote or the end (the user's escapes),
// white space in expressions, variables that are NULL or 0, and a variable
// text that is empty (an empty text is no text). Texts have no "??" (a
// trigraph to a C compiler). Identifiers are unique by value, and no custom
// button has the identifier of a checked common button.
#pragma once

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/model/task_dialog.h"

namespace pw::test {

inline TaskDialogConfig TypicalTaskDialog() {
    TaskDialogConfig c;
    c.owner = "hwnd";
    c.title = {"Editor"};
    c.mainInstruction = {"Do you want to save the changes to \"report.txt\"?"};
    c.content = {"Your changes will be lost if you don't save them.\r\nAutosave is off."};
    c.mainIcon = TaskIcon::Warning;
    c.commonButtons = kTaskCancel;
    c.buttons = {{"IDC_SAVE", "&Save"}, {"IDC_DONTSAVE", "Do&n't save\r\nClose without saving"}};
    c.commandLinks = true;
    c.defaultButton = "IDC_SAVE";
    c.verification = {"Always save without asking"};
    c.footer = {"Changes are kept for 7 days in the recycle bin."};
    c.footerIcon = TaskIcon::Information;
    c.allowCancellation = true;
    return c;
}

// One change for each field beyond what the short TaskDialog call can say:
// each alone makes the writer use the structure.
inline const std::vector<std::function<void(TaskDialogConfig&)>>& FieldsBeyondTheShortCall() {
    // clang-format off
    static const std::vector<std::function<void(TaskDialogConfig&)>> extras = {
        [](auto& c) { c.buttons = {{"1001", "Go"}}; },
        [](auto& c) { c.commandLinks = true; },
        [](auto& c) { c.defaultButton = "IDNO"; },
        [](auto& c) { c.radioButtons = {{"1", "One"}}; },
        [](auto& c) { c.defaultRadioButton = "1"; },
        [](auto& c) { c.noDefaultRadioButton = true; },
        [](auto& c) { c.verification = {"Don't ask again"}; },
        [](auto& c) { c.verificationChecked = true; },
        [](auto& c) { c.expandedInformation = {"More"}; },
        [](auto& c) { c.expandedByDefault = true; },
        [](auto& c) { c.expandFooterArea = true; },
        [](auto& c) { c.expandedControlText = {"Less"}; },
        [](auto& c) { c.collapsedControlText = {"More"}; },
        [](auto& c) { c.footer = {"Foot"}; },
        [](auto& c) { c.footerIcon = TaskIcon::Shield; },
        [](auto& c) { c.allowCancellation = true; },
        [](auto& c) { c.enableHyperlinks = true; },
        [](auto& c) { c.canBeMinimized = true; },
        [](auto& c) { c.positionRelativeToWindow = true; },
        [](auto& c) { c.rtlLayout = true; },
        [](auto& c) { c.sizeToContent = true; },
        [](auto& c) { c.width = 300; },
    };
    // clang-format on
    return extras;
}

// Expressions the compile check declares (LPCWSTR where a text is meant).
inline const std::vector<std::string>& TaskVariables() {
    static const std::vector<std::string> v = {"szMessage", "GetMessageText(1)", "names[2]", "(LPCWSTR)pszBuffer"};
    return v;
}
inline const std::vector<std::string>& TaskOwners() {
    static const std::vector<std::string> v = {"NULL", "hwnd", "GetActiveWindow()", "GetParent(hwnd)", "0"};
    return v;
}

class TaskDialogMaker {
public:
    explicit TaskDialogMaker(unsigned seed) : random_(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool Coin(int percent) { return Below(100) < percent; }

    // Quotes, apostrophes, tabs, CR LF, %, doubled backslashes, and
    // characters outside ASCII in UTF-8 (the euro sign, the C1 controls
    // U+0081 and U+009D before digits and hex letters, the no-break space, a
    // CJK ideograph, a character above U+FFFF).
    std::string Literal(int maxLength = 40) {
        // clang-format off
        static const std::string pieces[] = {
            "a", "Z", "9", " ", "\"", "'", "\t", "\r\n", "%", "%1", ",", ";", "{}", "()", "/*", "//", "?", "\\\\",
            "\xe2\x82\xac", "\xc2\x81" "1", "\xc2\x9d" "F", "\xc2\xa0", "\xc3\xa9", "\xc3\xbc", "\xc3\xbf", "&", "*/",
            "L\"", "==", "\xc2\x8d", "a\xc2\x90", "\xe4\xb8\xad", "\xf0\x9f\x98\x80"};
        // clang-format on
        std::string s;
        for (int n = Below(maxLength + 1); n > 0; --n) {
            const std::string& piece = pieces[Below(static_cast<int>(std::size(pieces)))];
            if (piece == "?" && !s.empty() && s.back() == '?') continue;
            s += piece;
        }
        return s;
    }

    TaskText Text(int presentPercent) {
        if (!Coin(presentPercent)) return {};
        if (Coin(20)) return {TaskVariables()[static_cast<std::size_t>(Below(4))], true};
        std::string text = Literal();
        return {text, false};
    }

    TaskIcon Icon() { return static_cast<TaskIcon>(Below(5)); }

    std::vector<TaskButton> Buttons(int count, int base) {
        std::vector<TaskButton> list;
        for (int k = 0; k < count; ++k) {
            std::string id = Coin(50) ? std::to_string(base + k) : "IDC_BASE+" + std::to_string(base + k);
            list.push_back({id, Literal(20)});
        }
        return list;
    }

    // Half of them need nothing beyond the short call.
    TaskDialogConfig Config() {
        TaskDialogConfig c;
        c.owner = TaskOwners()[static_cast<std::size_t>(Below(static_cast<int>(TaskOwners().size())))];
        c.title = Text(80);
        c.mainInstruction = Text(80);
        c.content = Text(80);
        c.mainIcon = Icon();
        c.commonButtons = static_cast<unsigned>(Below(64));
        if (Coin(50)) return c;

        c.buttons = Buttons(Coin(60) ? 1 + Below(4) : 0, 1001);
        c.commandLinks = Coin(40);
        if (Coin(50)) c.defaultButton = c.buttons.empty() || Coin(30) ? "IDCANCEL" : c.buttons.back().id;
        c.radioButtons = Buttons(Coin(50) ? 1 + Below(4) : 0, 2001);
        if (!c.radioButtons.empty() && Coin(50)) c.defaultRadioButton = c.radioButtons.front().id;
        c.noDefaultRadioButton = Coin(20);
        c.verification = Text(50);
        c.verificationChecked = Coin(30);
        c.expandedInformation = Text(40);
        c.expandedByDefault = Coin(30);
        c.expandFooterArea = Coin(30);
        c.expandedControlText = Text(30);
        c.collapsedControlText = Text(30);
        c.footer = Text(40);
        c.footerIcon = Icon();
        c.allowCancellation = Coin(40);
        c.enableHyperlinks = Coin(30);
        c.canBeMinimized = Coin(30);
        c.positionRelativeToWindow = Coin(30);
        c.rtlLayout = Coin(20);
        c.sizeToContent = Coin(20);
        c.width = Coin(30) ? static_cast<unsigned>(Below(500)) : 0;
        return c;
    }

private:
    std::mt19937 random_;
};

}  // namespace pw::test
