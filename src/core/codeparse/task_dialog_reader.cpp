#include "core/codeparse/task_dialog_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/codeparse/code_reader.h"

namespace pw {
namespace {

// Character classes by table: the reader looks at every byte once or twice.
constexpr std::array<bool, 256> kSpace = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : {' ', '\t', '\n', '\r', '\f', '\v'}) table[c] = true;
    return table;
}();

constexpr std::array<bool, 256> kWord = [] {
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<std::size_t>(c)] =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    return table;
}();

bool IsSpace(char c) { return kSpace[static_cast<unsigned char>(c)]; }

bool IsWord(char c) { return kWord[static_cast<unsigned char>(c)]; }

// Whether white space between `a` and `b` keeps two tokens apart: two words
// (`sizeof x`; bytes outside ASCII count as letters, as compilers that take
// them in names do) or two operator characters (`- -`, `/ /`, `= =`).
bool NeedsSpace(char a, char b) {
    static constexpr std::array<unsigned char, 256> kKind = [] {
        std::array<unsigned char, 256> table{};  // 1 word, 2 operator
        for (int c = 0; c < 256; ++c)
            if (kWord[static_cast<std::size_t>(c)] || c >= 0x80) table[static_cast<std::size_t>(c)] = 1;
        for (unsigned char c : std::string_view("+-*/%&|^!=<>.:#?~")) table[c] = 2;
        return table;
    }();
    const unsigned char kind = kKind[static_cast<unsigned char>(a)];
    return kind != 0 && kind == kKind[static_cast<unsigned char>(b)];
}

// What ends a run of characters that Compact copies as they are: white space,
// a slash (a comment may start), a quote (a literal starts).
constexpr std::array<bool, 256> kRunEnd = [] {
    std::array<bool, 256> table = kSpace;
    table[static_cast<unsigned char>('/')] = true;
    table[static_cast<unsigned char>('"')] = true;
    table[static_cast<unsigned char>('\'')] = true;
    return table;
}();

// What a literal's scan stops at: its end, an escape, a line break.
constexpr std::array<bool, 256> kLiteralStop = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : {'"', '\'', '\\', '\n', '\r'}) table[c] = true;
    return table;
}();

// The end (one past the closing quote) of the string or character literal
// whose opening quote is at `open`, escapes honoured; npos when it is not
// closed on its line. A line break in a literal, spliced or not, is refused:
// a QuickBox slot drops it, and C does not allow a bare one.
std::size_t LiteralEnd(std::string_view text, std::size_t open) {
    const char quote = text[open];
    for (std::size_t i = open + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (!kLiteralStop[static_cast<unsigned char>(c)]) continue;
        if (c == '\n' || c == '\r') return std::string_view::npos;
        if (c == '\\') {
            if (i + 1 < text.size() && (text[i + 1] == '\n' || text[i + 1] == '\r')) return std::string_view::npos;
            ++i;
        } else if (c == quote) {
            return i + 1;
        }
    }
    return std::string_view::npos;
}

// Past white space and comments from `i`.
std::size_t SkipBlank(std::string_view text, std::size_t i) {
    while (i < text.size()) {
        if (IsSpace(text[i])) {
            ++i;
        } else if (text[i] == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            const std::size_t end = text.find_first_of("\r\n", i + 2);
            i = end == std::string_view::npos ? text.size() : end;
        } else if (text[i] == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            const std::size_t end = text.find("*/", i + 2);
            i = end == std::string_view::npos ? text.size() : end + 2;
        } else {
            break;
        }
    }
    return i;
}

// The statement without comments and white space, literals kept as written,
// and one space where white space or a comment stood between two tokens that
// would otherwise run together (`sizeof x`, `a - -b`, `/ /`), so that nothing
// changes its meaning and compacting again changes nothing. Never
// longer than the text: a space is only written where one was taken out.
// Nothing when a literal is not closed on its line.
std::optional<std::string> Compact(std::string_view text) {
    std::string out(text.size(), '\0');
    char* o = out.data();
    std::size_t w = 0;
    bool gap = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (IsSpace(c) || (c == '/' && i + 1 < text.size() && (text[i + 1] == '/' || text[i + 1] == '*'))) {
            i = SkipBlank(text, i);
            gap = true;
            continue;
        }
        if (gap) {
            if (w > 0 && NeedsSpace(o[w - 1], c)) o[w++] = ' ';
            gap = false;
        }
        if (c == '"' || c == '\'') {
            const std::size_t end = LiteralEnd(text, i);
            if (end == std::string_view::npos) return std::nullopt;
            text.copy(o + w, end - i, i);
            w += end - i;
            i = end;
            continue;
        }
        // The run of ordinary characters from here on, in one piece.
        std::size_t end = i + 1;
        while (end < text.size() && !kRunEnd[static_cast<unsigned char>(text[end])]) ++end;
        text.copy(o + w, end - i, i);
        w += end - i;
        i = end;
    }
    out.resize(w);
    return out;
}

// The texts of a value that is one or more adjacent wide literals (L"a" L"b",
// each unescaped on its own, as C joins them), or nothing.
std::optional<std::string> WideLiteral(std::string_view value) {
    if (!value.starts_with("L\"")) return std::nullopt;
    std::string text;
    std::size_t i = 0;
    while (i < value.size()) {
        if (!value.substr(i).starts_with("L\"")) return std::nullopt;
        const std::size_t end = LiteralEnd(value, i + 1);
        if (end == std::string_view::npos) return std::nullopt;
        std::string piece = UnescapeMarkedLiteral(value.substr(i + 2, end - 1 - (i + 2)));
        if (i == 0)
            text = std::move(piece);
        else
            text += piece;
        i = end;
    }
    return text;
}

// Whether a comma stands outside brackets and literals: such a value is no
// single argument of the short call, where the writer may put it.
bool HasTopLevelComma(std::string_view value) {
    int depth = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '"' || c == '\'') {
            const std::size_t end = LiteralEnd(value, i);
            if (end == std::string_view::npos) return false;
            i = end - 1;
        } else if (c == '(' || c == '[' || c == '{') {
            ++depth;
        } else if (c == ')' || c == ']' || c == '}') {
            --depth;
        } else if (c == ',' && depth == 0) {
            return true;
        }
    }
    return false;
}

bool IsNull(std::string_view value) { return value == "NULL" || value == "0" || value == "nullptr"; }

// Reads a statement in the compact form, one C statement after another.
class Parser {
public:
    explicit Parser(std::string_view text) : t_(text) {}

    bool Read(TaskDialogConfig& config, AnswerHandling& answer) {
        while (pos_ < t_.size()) {
            // Member assignments first: most of the statements are.
            if (!memberPrefix_.empty() && Eat(memberPrefix_)) {
                if (!Member()) return false;
                membersSet_ = true;
            } else if (Eat("TASKDIALOG_BUTTON ")) {
                if (!ButtonArray()) return false;
            } else if (Eat("TASKDIALOGCONFIG ")) {
                if (!configName_.empty()) return false;
                configName_ = Word();
                if (configName_.empty()) return false;
                memberPrefix_ = configName_ + ".";
                // Zero-initialised here or by ZeroMemory below.
                if (!Eat(";") && !Eat("={0};") && !Eat("={};")) return false;
            } else if (Eat("int ") || Eat("BOOL ")) {
                if (Word().empty()) return false;
                if (Eat("=") && !Expression(';')) return false;
                if (!Eat(";")) return false;
            } else if (Eat("ZeroMemory(&") || Eat("memset(&")) {
                // Zeroing the structure before its members are set; anything
                // else would leave it unset or undo them.
                const bool byMemset = t_.substr(0, pos_).ends_with("memset(&");
                if (configName_.empty() || membersSet_ || !Eat(configName_) || !Eat(byMemset ? ",0," : ","))
                    return false;
                const auto size = Expression(')');
                if (!size || !IsSizeOfConfig(*size) || !Eat(");")) return false;
            } else if (Eat("TaskDialogIndirect(")) {
                if (configName_.empty() || !IndirectCall()) return false;
                return Finish(config, answer);
            } else if (Eat("TaskDialog(")) {
                if (!configName_.empty() || !arrays_.empty() || !ShortCall()) return false;
                return Finish(config, answer);
            } else {
                return false;
            }
        }
        return false;  // no call
    }

private:
    bool Eat(std::string_view s) {
        if (!t_.substr(pos_).starts_with(s)) return false;
        pos_ += s.size();
        return true;
    }

    std::string_view Word() {
        const std::size_t start = pos_;
        while (pos_ < t_.size() && IsWord(t_[pos_])) ++pos_;
        return t_.substr(start, pos_ - start);
    }

    // An expression up to `stop` outside brackets and literals; the
    // stop is left for the caller. Nothing when the text ends first, when a
    // bracket closes that was not opened, or when it is empty.
    std::optional<std::string_view> Expression(char stop) {
        if (pos_ < t_.size() && t_[pos_] == ' ') ++pos_;  // kept after an operator: "= -1"
        const std::size_t start = pos_;
        int depth = 0;
        while (pos_ < t_.size()) {
            const char c = t_[pos_];
            if (depth == 0 && c == stop) {
                if (pos_ == start) return std::nullopt;
                return t_.substr(start, pos_ - start);
            }
            if (c == '"' || c == '\'') {
                pos_ = std::min(LiteralEnd(t_, pos_), t_.size());
                continue;
            }
            if (c == '(' || c == '[' || c == '{') ++depth;
            if (c == ')' || c == ']' || c == '}') {
                if (depth == 0) return std::nullopt;
                --depth;
            }
            ++pos_;
        }
        return std::nullopt;
    }

    // name[]={{id,L"text"},...};
    bool ButtonArray() {
        const std::string_view name = Word();
        if (name.empty() || !Eat("[")) return false;
        while (pos_ < t_.size() && IsWord(t_[pos_])) ++pos_;  // a count may stand in the brackets
        if (!Eat("]={")) return false;
        std::vector<TaskButton> buttons;
        while (Eat("{")) {
            TaskButton button;
            const auto id = Expression(',');
            if (!id || !Eat(",")) return false;
            const auto value = Expression('}');
            if (!value || !Eat("}")) return false;
            auto text = WideLiteral(*value);
            if (!text) return false;
            button.id = *id;
            button.text = std::move(*text);
            buttons.push_back(std::move(button));
            if (!Eat(",")) break;
        }
        if (!Eat("};")) return false;
        for (const auto& array : arrays_)
            if (array.first == name) return false;
        arrays_.emplace_back(name, std::move(buttons));
        return true;
    }

    bool SetText(TaskText& field, std::string_view value) {
        field = {};
        if (IsNull(value)) return true;
        if (auto text = WideLiteral(value)) {
            field.text = std::move(*text);
        } else {
            if (value.starts_with('"') || value.starts_with("L\"")) return false;  // narrow or broken literal
            if (HasTopLevelComma(value)) return false;
            field.text = value;
            field.variable = true;
        }
        return true;
    }

    static bool SetIcon(TaskIcon& icon, std::string_view value) {
        static constexpr std::pair<std::string_view, TaskIcon> kIcons[] = {
            {"TD_WARNING_ICON", TaskIcon::Warning},
            {"TD_ERROR_ICON", TaskIcon::Error},
            {"TD_INFORMATION_ICON", TaskIcon::Information},
            {"TD_SHIELD_ICON", TaskIcon::Shield},
        };
        if (IsNull(value)) {
            icon = TaskIcon::None;
            return true;
        }
        for (const auto& [name, i] : kIcons)
            if (value == name) {
                icon = i;
                return true;
            }
        return false;
    }

    // A | B | C of known names, or 0; each name's bit in `bits`.
    template <std::size_t N>
    static bool SetBits(unsigned& bits, std::string_view value,
                        const std::pair<std::string_view, unsigned> (&names)[N]) {
        bits = 0;
        if (value == "0") return true;
        while (true) {
            const std::size_t bar = value.find('|');
            const std::string_view name = value.substr(0, bar);
            bool known = false;
            for (const auto& [n, bit] : names)
                if (name == n) {
                    bits |= bit;
                    known = true;
                }
            if (!known) return false;
            if (bar == std::string_view::npos) return true;
            value.remove_prefix(bar + 1);
        }
    }

    static bool SetCommonButtons(unsigned& bits, std::string_view value) {
        static constexpr std::pair<std::string_view, unsigned> kNames[] = {
            {"TDCBF_OK_BUTTON", kTaskOk},       {"TDCBF_YES_BUTTON", kTaskYes},
            {"TDCBF_NO_BUTTON", kTaskNo},       {"TDCBF_CANCEL_BUTTON", kTaskCancel},
            {"TDCBF_RETRY_BUTTON", kTaskRetry}, {"TDCBF_CLOSE_BUTTON", kTaskClose},
        };
        return SetBits(bits, value, kNames);
    }

    bool SetFlags(std::string_view value) {
        static constexpr std::pair<std::string_view, unsigned> kNames[] = {
            {"TDF_ENABLE_HYPERLINKS", 0x1},
            {"TDF_ALLOW_DIALOG_CANCELLATION", 0x8},
            {"TDF_USE_COMMAND_LINKS", 0x10},
            {"TDF_EXPAND_FOOTER_AREA", 0x40},
            {"TDF_EXPANDED_BY_DEFAULT", 0x80},
            {"TDF_VERIFICATION_FLAG_CHECKED", 0x100},
            {"TDF_POSITION_RELATIVE_TO_WINDOW", 0x1000},
            {"TDF_RTL_LAYOUT", 0x2000},
            {"TDF_NO_DEFAULT_RADIO_BUTTON", 0x4000},
            {"TDF_CAN_BE_MINIMIZED", 0x8000},
            {"TDF_SIZE_TO_CONTENT", 0x1000000},
        };
        unsigned bits = 0;
        if (!SetBits(bits, value, kNames)) return false;
        TaskDialogConfig& c = config_;
        c.enableHyperlinks = bits & 0x1;
        c.allowCancellation = bits & 0x8;
        c.commandLinks = bits & 0x10;
        c.expandFooterArea = bits & 0x40;
        c.expandedByDefault = bits & 0x80;
        c.verificationChecked = bits & 0x100;
        c.positionRelativeToWindow = bits & 0x1000;
        c.rtlLayout = bits & 0x2000;
        c.noDefaultRadioButton = bits & 0x4000;
        c.canBeMinimized = bits & 0x8000;
        c.sizeToContent = bits & 0x1000000;
        return true;
    }

    // A decimal number that fits a UINT, as the writer writes widths.
    static std::optional<unsigned> Unsigned(std::string_view value) {
        while (!value.empty() && (value.back() == 'u' || value.back() == 'U')) value.remove_suffix(1);
        if (value.empty() || value.size() > 10) return std::nullopt;
        std::uint64_t n = 0;
        for (char c : value) {
            if (c < '0' || c > '9') return std::nullopt;
            n = n * 10 + static_cast<unsigned>(c - '0');
        }
        if (n > 0xFFFFFFFFu) return std::nullopt;
        return static_cast<unsigned>(n);
    }

    bool IsSizeOfConfig(std::string_view v) const {
        return v == "sizeof(" + configName_ + ")" || v == "sizeof " + configName_ || v == "sizeof(TASKDIALOGCONFIG)";
    }

    // member=value;
    bool Member() {
        const std::string_view name = Word();
        if (!Eat("=")) return false;
        const auto value = Expression(';');
        if (!value || !Eat(";")) return false;
        const std::string_view v = *value;
        TaskDialogConfig& c = config_;
        if (name == "cbSize") return IsSizeOfConfig(v);
        if (name == "hwndParent") return c.owner = v, !HasTopLevelComma(v);
        if (name == "hInstance" || name == "pfCallback" || name == "lpCallbackData") return IsNull(v);
        if (name == "dwFlags") return SetFlags(v);
        if (name == "dwCommonButtons") return SetCommonButtons(c.commonButtons, v);
        if (name == "pszWindowTitle") return SetText(c.title, v);
        if (name == "pszMainIcon") return SetIcon(c.mainIcon, v);
        if (name == "pszMainInstruction") return SetText(c.mainInstruction, v);
        if (name == "pszContent") return SetText(c.content, v);
        if (name == "cButtons") return buttonCount_ = v, true;
        if (name == "pButtons") return buttonArray_ = v, true;
        if (name == "nDefaultButton") return c.defaultButton = v, true;
        if (name == "cRadioButtons") return radioCount_ = v, true;
        if (name == "pRadioButtons") return radioArray_ = v, true;
        if (name == "nDefaultRadioButton") return c.defaultRadioButton = v, true;
        if (name == "pszVerificationText") return SetText(c.verification, v);
        if (name == "pszExpandedInformation") return SetText(c.expandedInformation, v);
        if (name == "pszExpandedControlText") return SetText(c.expandedControlText, v);
        if (name == "pszCollapsedControlText") return SetText(c.collapsedControlText, v);
        if (name == "pszFooterIcon") return SetIcon(c.footerIcon, v);
        if (name == "pszFooter") return SetText(c.footer, v);
        if (name == "cxWidth") {
            const auto width = Unsigned(v);
            if (!width) return false;
            c.width = *width;
            return true;
        }
        return false;
    }

    // The buttons a count and an array member give; false when the two do
    // not agree (the count must be the array's own).
    bool Buttons(std::string_view count, std::string_view array, std::vector<TaskButton>& buttons) {
        buttons.clear();
        if (array.empty() || IsNull(array)) return count.empty() || count == "0";
        if (array.starts_with("&") && array.ends_with("[0]")) array = array.substr(1, array.size() - 4);
        const std::vector<TaskButton>* found = nullptr;
        for (const auto& [name, list] : arrays_)
            if (name == array) found = &list;
        if (!found) return false;
        const std::string a(array);
        const bool counted =
            count == "ARRAYSIZE(" + a + ")" || count == "_countof(" + a + ")" ||
            count == "sizeof(" + a + ")/sizeof(" + a + "[0])" || count == "sizeof(" + a + ")/sizeof(*" + a + ")" ||
            count == "sizeof " + a + "/sizeof " + a + "[0]" || (Unsigned(count) && *Unsigned(count) == found->size());
        if (!counted) return false;
        buttons = *found;
        return true;
    }

    // An out-parameter: NULL, or &name of a variable.
    static std::optional<std::string_view> OutParameter(std::string_view value) {
        if (IsNull(value)) return std::string_view{};
        if (value.size() < 2 || value[0] != '&') return std::nullopt;
        for (char c : value.substr(1))
            if (!IsWord(c)) return std::nullopt;
        return value.substr(1);
    }

    // (&config,pnButton,pnRadioButton,pfVerificationFlagChecked);
    bool IndirectCall() {
        if (!Eat("&") || !Eat(configName_) || !Eat(",")) return false;
        const auto button = Expression(',');
        if (!button || !Eat(",")) return false;
        const auto radio = Expression(',');
        if (!radio || !Eat(",")) return false;
        const auto verification = Expression(')');
        if (!verification || !Eat(");")) return false;
        if (!OutParameter(*radio) || !OutParameter(*verification)) return false;
        const auto buttonVariable = OutParameter(*button);
        if (!buttonVariable) return false;
        buttonVariable_ = *buttonVariable;
        return Buttons(buttonCount_, buttonArray_, config_.buttons) &&
               Buttons(radioCount_, radioArray_, config_.radioButtons);
    }

    // (owner,NULL,title,instruction,content,buttons,icon,pnButton);
    bool ShortCall() {
        std::string_view args[8];
        for (std::size_t k = 0; k < 8; ++k) {
            const auto value = Expression(k < 7 ? ',' : ')');
            if (!value || !Eat(k < 7 ? "," : ");")) return false;
            args[k] = *value;
        }
        TaskDialogConfig& c = config_;
        c.owner = args[0];
        const auto buttonVariable = OutParameter(args[7]);
        if (!buttonVariable) return false;
        buttonVariable_ = *buttonVariable;
        return IsNull(args[1]) && SetText(c.title, args[2]) && SetText(c.mainInstruction, args[3]) &&
               SetText(c.content, args[4]) && SetCommonButtons(c.commonButtons, args[5]) &&
               SetIcon(c.mainIcon, args[6]);
    }

    // After the call: nothing, or the head of the answer's if or switch (what
    // its braces hold is the user's).
    bool Finish(TaskDialogConfig& config, AnswerHandling& answer) {
        AnswerHandling read = AnswerHandling::None;
        if (pos_ < t_.size()) {
            if (buttonVariable_.empty()) return false;
            if (Eat("if(") && Eat(buttonVariable_) && Eat("==")) {
                if (!Expression(')') || !Eat("){")) return false;
                read = AnswerHandling::If;
            } else if (Eat("switch(") && Eat(buttonVariable_) && Eat("){")) {
                read = AnswerHandling::Switch;
            } else {
                return false;
            }
        }
        config = std::move(config_);
        answer = read;
        return true;
    }

    std::string_view t_;
    std::size_t pos_ = 0;
    TaskDialogConfig config_;
    std::string configName_;
    std::string memberPrefix_;  // "config."
    bool membersSet_ = false;
    std::vector<std::pair<std::string_view, std::vector<TaskButton>>> arrays_;
    std::string_view buttonCount_, buttonArray_, radioCount_, radioArray_;
    std::string_view buttonVariable_;
};

bool StartsWithWord(std::string_view text, std::size_t at, std::string_view word) {
    return text.substr(at).starts_with(word) && (at + word.size() == text.size() || !IsWord(text[at + word.size()]));
}

}  // namespace

bool IsTaskDialogStatement(std::string_view text) {
    std::size_t i = SkipBlank(text, 0);
    // The answer's declarations come first; a handful of them at most.
    for (int declarations = 0; declarations <= 3; ++declarations) {
        if (StartsWithWord(text, i, "TASKDIALOG_BUTTON") || StartsWithWord(text, i, "TASKDIALOGCONFIG") ||
            StartsWithWord(text, i, "TaskDialog") || StartsWithWord(text, i, "TaskDialogIndirect"))
            return true;
        if (!StartsWithWord(text, i, "int") && !StartsWithWord(text, i, "BOOL")) return false;
        const std::size_t end = text.find(';', i);
        if (end == std::string_view::npos || end - i > 200) return false;
        i = SkipBlank(text, end + 1);
    }
    return false;
}

bool ReadTaskDialog(std::string_view text, TaskDialogConfig& config, AnswerHandling* answerRead) {
    const std::optional<std::string> compact = Compact(text);
    if (!compact) return false;
    TaskDialogConfig read;
    AnswerHandling answer = AnswerHandling::None;
    if (!Parser(*compact).Read(read, answer)) return false;
    config = std::move(read);
    if (answerRead) *answerRead = answer;
    return true;
}

}  // namespace pw
