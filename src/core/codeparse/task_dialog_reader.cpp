#include "core/codeparse/task_dialog_reader.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/lex/c_lexer.h"
#include "core/codeparse/c_literal.h"

namespace pw {
namespace {

using Tokens = std::vector<Token>;

// A stretch of tokens [begin, end).
struct Span {
    const Token* begin = nullptr;
    const Token* end = nullptr;
    bool empty() const { return begin == end; }
    std::size_t size() const { return static_cast<std::size_t>(end - begin); }
    const Token& operator[](std::size_t i) const { return begin[i]; }
};

bool IsWordByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool IsOperatorByte(char c) { return std::string_view("+-*/%&|^!=<>.:#?~").find(c) != std::string_view::npos; }

// The tokens without white space, but for one space where two tokens that
// stood apart would otherwise run together (`sizeof x`, `a - -b`), so that
// a value read twice is the same text whatever the layout around it.
std::string Compact(Span s) {
    std::string out;
    for (const Token* t = s.begin; t != s.end; ++t) {
        const std::string text = t->spliced ? Spelling(*t) : std::string(t->text);
        if (t != s.begin && t->spaceBefore && !out.empty() && !text.empty()) {
            const char a = out.back(), b = text.front();
            // A word before a quote would become a literal's prefix (L "x"),
            // one after it a literal's suffix ("x" _s).
            const bool quote = (IsWordByte(a) && (b == '"' || b == '\'')) || ((a == '"' || a == '\'') && IsWordByte(b));
            if ((IsWordByte(a) && IsWordByte(b)) || (IsOperatorByte(a) && IsOperatorByte(b)) || quote) out += ' ';
        }
        out += text;
    }
    return out;
}

bool IsNull(Span s) { return s.size() == 1 && (s[0].Is("NULL") || s[0].Is("0") || s[0].Is("nullptr")); }

// Splits at commas (or `sep`) outside brackets.
std::vector<Span> Split(Span s, std::string_view sep = ",") {
    std::vector<Span> parts;
    int depth = 0;
    const Token* start = s.begin;
    for (const Token* t = s.begin; t != s.end; ++t) {
        if (t->kind != TokenKind::Punctuator) continue;
        if (t->Is("(") || t->Is("[") || t->Is("{")) ++depth;
        else if (t->Is(")") || t->Is("]") || t->Is("}")) --depth;
        else if (depth == 0 && t->Is(sep)) {
            parts.push_back({start, t});
            start = t + 1;
        }
    }
    parts.push_back({start, s.end});
    return parts;
}

// The token closing the bracket at `open`, or `end`.
const Token* Closing(const Token* open, const Token* end) {
    int depth = 0;
    for (const Token* t = open; t != end; ++t) {
        if (t->kind != TokenKind::Punctuator) continue;
        if (t->Is("(") || t->Is("[") || t->Is("{")) ++depth;
        else if ((t->Is(")") || t->Is("]") || t->Is("}")) && --depth == 0) return t;
    }
    return end;
}

// One statement, a block's opening or closing brace, or a preprocessor line.
struct Statement {
    Span tokens;  // without the ';'
    bool opensBlock = false, closesBlock = false;
};

struct Member {
    std::string_view name;
    Span value;
};

constexpr std::string_view kMemberOrder[] = {
    "cbSize", "hwndParent", "hInstance", "dwFlags", "dwCommonButtons", "pszWindowTitle", "pszMainIcon",
    "pszMainInstruction", "pszContent", "cButtons", "pButtons", "nDefaultButton", "cRadioButtons",
    "pRadioButtons", "nDefaultRadioButton", "pszVerificationText", "pszExpandedInformation",
    "pszExpandedControlText", "pszCollapsedControlText", "pszFooterIcon", "pszFooter", "pfCallback",
    "lpCallbackData", "cxWidth"};

struct Flag {
    std::string_view name;
    unsigned bit;
    bool TaskDialogConfig::*field;  // null: a flag the designer has no box for
};
constexpr Flag kFlags[] = {
    {"TDF_ENABLE_HYPERLINKS", 0x1, &TaskDialogConfig::enableHyperlinks},
    {"TDF_USE_HICON_MAIN", 0x2, nullptr},
    {"TDF_USE_HICON_FOOTER", 0x4, nullptr},
    {"TDF_ALLOW_DIALOG_CANCELLATION", 0x8, &TaskDialogConfig::allowCancellation},
    {"TDF_USE_COMMAND_LINKS", 0x10, &TaskDialogConfig::commandLinks},
    {"TDF_USE_COMMAND_LINKS_NO_ICON", 0x20, nullptr},
    {"TDF_EXPAND_FOOTER_AREA", 0x40, &TaskDialogConfig::expandFooterArea},
    {"TDF_EXPANDED_BY_DEFAULT", 0x80, &TaskDialogConfig::expandedByDefault},
    {"TDF_VERIFICATION_FLAG_CHECKED", 0x100, &TaskDialogConfig::verificationChecked},
    {"TDF_SHOW_PROGRESS_BAR", 0x200, nullptr},
    {"TDF_SHOW_MARQUEE_PROGRESS_BAR", 0x400, nullptr},
    {"TDF_CALLBACK_TIMER", 0x800, nullptr},
    {"TDF_POSITION_RELATIVE_TO_WINDOW", 0x1000, &TaskDialogConfig::positionRelativeToWindow},
    {"TDF_RTL_LAYOUT", 0x2000, &TaskDialogConfig::rtlLayout},
    {"TDF_NO_DEFAULT_RADIO_BUTTON", 0x4000, &TaskDialogConfig::noDefaultRadioButton},
    {"TDF_CAN_BE_MINIMIZED", 0x8000, &TaskDialogConfig::canBeMinimized},
    {"TDF_NO_SET_FOREGROUND", 0x10000, nullptr},
    {"TDF_SIZE_TO_CONTENT", 0x1000000, &TaskDialogConfig::sizeToContent},
};
constexpr std::pair<std::string_view, unsigned> kCommonButtonNames[] = {
    {"TDCBF_OK_BUTTON", kTaskOk},       {"TDCBF_YES_BUTTON", kTaskYes},
    {"TDCBF_NO_BUTTON", kTaskNo},       {"TDCBF_CANCEL_BUTTON", kTaskCancel},
    {"TDCBF_RETRY_BUTTON", kTaskRetry}, {"TDCBF_CLOSE_BUTTON", kTaskClose},
};

// An integer literal's value (any base, with suffixes), or nothing.
std::optional<std::uint64_t> NumberValue(const Token& t) {
    if (t.kind != TokenKind::Number) return std::nullopt;
    std::string_view s = t.text;
    while (!s.empty() && (s.back() == 'u' || s.back() == 'U' || s.back() == 'l' || s.back() == 'L')) s.remove_suffix(1);
    if (s.empty()) return std::nullopt;
    unsigned base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) base = 16, s.remove_prefix(2);
    else if (s.size() > 2 && s[0] == '0' && (s[1] == 'b' || s[1] == 'B')) base = 2, s.remove_prefix(2);
    else if (s.size() > 1 && s[0] == '0') base = 8, s.remove_prefix(1);
    std::uint64_t value = 0;
    for (char c : s) {
        if (c == '\'') continue;
        unsigned d = c >= '0' && c <= '9' ? unsigned(c - '0') : c >= 'a' && c <= 'f' ? unsigned(c - 'a' + 10)
                   : c >= 'A' && c <= 'F' ? unsigned(c - 'A' + 10) : 99;
        if (d >= base || value > 0xFFFFFFFFull) return std::nullopt;
        value = value * base + d;
    }
    if (value > 0xFFFFFFFFull) return std::nullopt;
    return value;
}

std::string Hex(unsigned value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string digits;
    do digits.insert(digits.begin(), kDigits[value & 15]), value >>= 4;
    while (value);
    return "0x" + digits;
}

class Reader {
public:
    Reader(const Tokens& tokens, std::string& problem) : tokens_(tokens), problem_(problem) {}

    bool Read(TaskDialogConfig& out, AnswerHandling& answer) {
        // Inside parentheses, brackets and initializer braces (a block's
        // braces do not count: directives between statements are read).
        std::vector<bool> counted;
        int depth = 0;
        for (std::size_t i = 0; i < tokens_.size(); ++i) {
            const Token& t = tokens_[i];
            if (t.unterminated) return Fail("a literal or comment is not closed");
            if (t.kind == TokenKind::String && t.text.find_first_of("\r\n") != std::string_view::npos)
                return Fail("a raw string holds a line break, which the statement on one line would lose");
            if (t.IsPunct("(") || t.IsPunct("[") ||
                (t.IsPunct("{") && (depth > 0 || (i > 0 && tokens_[i - 1].IsPunct("="))))) {
                ++depth;
                counted.push_back(true);
            } else if (t.IsPunct("{")) {
                counted.push_back(false);
            } else if ((t.IsPunct(")") || t.IsPunct("]") || t.IsPunct("}")) && !counted.empty()) {
                if (counted.back()) --depth;
                counted.pop_back();
            }
            // Written on one line, it would no longer be a preprocessor line.
            if (depth > 0 && t.kind == TokenKind::Directive)
                return Fail("a preprocessor line stands inside brackets");
        }
        const Token* end = tokens_.data() + tokens_.size();
        const Token* t = tokens_.data();
        while (t != end) {
            Statement s = Next(t, end);
            if (s.opensBlock) {
                ++depth_;
                continue;
            }
            if (s.closesBlock) {
                --depth_;
                continue;
            }
            if (s.tokens.empty()) continue;
            if (s.tokens[0].kind == TokenKind::Directive) {
                Directive(s.tokens[0]);
                continue;
            }
            const std::optional<bool> called = Handle(s.tokens);
            if (!called) return false;
            if (*called) return Finish(Span{t, end}, out, answer);
        }
        return Fail(config_ ? "the text has no TaskDialogIndirect call" : "the text has no TaskDialog or TaskDialogIndirect call");
    }

private:
    bool Fail(std::string message) {
        problem_ = std::move(message);
        return false;
    }

    // The next statement from `t`: up to a ';' outside brackets, or a brace
    // that opens or closes a block (not an initialiser's).
    Statement Next(const Token*& t, const Token* end) {
        Statement s;
        const Token* start = t;
        if (t->kind == TokenKind::Directive) {
            s.tokens = {t, t + 1};
            ++t;
            return s;
        }
        int depth = 0;
        for (; t != end; ++t) {
            if (t->kind == TokenKind::Directive && depth == 0) break;
            if (t->kind != TokenKind::Punctuator) continue;
            if (t->Is("(") || t->Is("[")) {
                ++depth;
            } else if (t->Is(")") || t->Is("]")) {
                --depth;
            } else if (t->Is("{")) {
                const bool block = depth == 0 && (t == start || t[-1].IsPunct(")") || t[-1].Is("else") ||
                                                  t[-1].Is("do") || t[-1].IsPunct(":") || t[-1].IsPunct(";"));
                if (!block) {
                    ++depth;
                    continue;
                }
                if (t == start) {
                    s.opensBlock = true;
                    ++t;
                    return s;
                }
                break;  // the header before it is a statement of its own
            } else if (t->Is("}")) {
                if (depth > 0) {
                    --depth;
                    continue;
                }
                if (t == start) {
                    s.closesBlock = true;
                    ++t;
                    return s;
                }
                break;
            } else if (t->Is(";") && depth <= 0) {
                s.tokens = {start, t};
                ++t;
                return s;
            }
        }
        s.tokens = {start, t};
        return s;
    }

    void Directive(const Token& t) {
        std::string_view d = t.text.substr(1);
        while (!d.empty() && (d.front() == ' ' || d.front() == '\t')) d.remove_prefix(1);
        if (d.starts_with("if")) ++conditionalDepth_;
        else if (d.starts_with("endif") && conditionalDepth_ > 0) --conditionalDepth_;
    }

    bool Names(const Token& t, const std::string& name) const { return !name.empty() && t.Is(name); }
    bool IsConfig(const Token& t) const { return Names(t, configName_) || Names(t, pointerName_); }

    // A statement: nothing (refused), false (read on), true (the call).
    std::optional<bool> Handle(Span s) {
        // Labels and the heads of if, else, loops and switch: what follows
        // them runs only sometimes.
        bool conditional = false;
        for (;;) {
            if (s.size() >= 2 && (s[0].Is("case") || s[0].Is("default"))) {
                const Token* colon = s.begin;
                while (colon != s.end && !colon->IsPunct(":")) ++colon;
                if (colon == s.end) break;
                s.begin = colon + 1;
                conditional = true;
            } else if (!s.empty() && (s[0].Is("if") || s[0].Is("while") || s[0].Is("for") || s[0].Is("switch")) &&
                       s.size() >= 2 && s[1].IsPunct("(")) {
                const Token* close = Closing(s.begin + 1, s.end);
                // The call may stand in the condition itself.
                if (std::optional<bool> call = FindCall({s.begin + 2, close}); !call || *call) return call;
                s.begin = close == s.end ? s.end : close + 1;
                conditional = true;
            } else if (!s.empty() && (s[0].Is("else") || s[0].Is("do"))) {
                ++s.begin;
                conditional = true;
            } else {
                break;
            }
        }
        if (s.empty()) return false;
        conditional = conditional || depth_ > configDepth_ || conditionalDepth_ > configConditionalDepth_;

        std::size_t k = 0;
        while (k < s.size() && (s[k].Is("static") || s[k].Is("const") || s[k].Is("constexpr"))) ++k;
        if (k < s.size() && s[k].Is("TASKDIALOGCONFIG")) return Declaration({s.begin + k + 1, s.end}, conditional);
        if (k < s.size() && s[k].Is("TASKDIALOG_BUTTON")) return ButtonArray({s.begin + k + 1, s.end});

        if (std::optional<bool> call = FindCall(s); !call || *call) return call;
        if (!config_) return false;  // code before the set-up: not read

        // config.member = value; pointer->member = value; (*pointer).member
        if (s.size() >= 3 && IsConfig(s[0]) && (s[1].IsPunct(".") || s[1].IsPunct("->")) &&
            s[2].kind == TokenKind::Identifier) {
            const std::string name(s[2].text);
            if (s.size() < 4 || !s[3].IsPunct("="))
                return Refuse("the member " + name + " is changed in a way the designer cannot follow");
            if (conditional) return Refuse("the member " + name + " is set only under a condition");
            if (!SetMember(s[2].text, {s.begin + 4, s.end})) return std::nullopt;
            membersSet_ = true;
            return false;
        }
        if (s[0].Is("ZeroMemory") || s[0].Is("SecureZeroMemory") || s[0].Is("memset")) {
            const bool mentions = Mentions(s);
            if (!mentions) return false;
            if (!Zeroing(s)) return std::nullopt;
            return false;
        }
        if (Mentions(s)) return Refuse(Compact(s) + " uses " + configName_ + " in a way the designer cannot follow");
        return false;  // other code: not read
    }

    std::optional<bool> Refuse(std::string message) {
        problem_ = std::move(message);
        return std::nullopt;
    }

    bool Mentions(Span s) const {
        for (const Token* t = s.begin; t != s.end; ++t)
            if (IsConfig(*t)) return true;
        return false;
    }

    // ZeroMemory(&c, size), SecureZeroMemory(&c, size), memset(&c, 0, size).
    bool Zeroing(Span s) {
        const std::string call(s[0].text);
        if (s.size() < 2 || !s[1].IsPunct("(")) return Fail(call + " is not called as the designer expects");
        const Token* close = Closing(s.begin + 1, s.end);
        std::vector<Span> args = Split({s.begin + 2, close});
        const bool memset = call == "memset";
        if (args.size() != (memset ? 3u : 2u) || close + 1 != s.end)
            return Fail(call + " is not called as the designer expects");
        const std::string target = Compact(args[0]);
        if (target != "&" + configName_ && (pointerName_.empty() || target != pointerName_))
            return Fail(call + " clears " + target + ", not " + configName_);
        if (memset && !IsNull(args[1])) return Fail("memset fills " + configName_ + " with " + Compact(args[1]) + ", not 0");
        if (!IsSizeOfConfig(args.back())) return Fail(call + " clears " + Compact(args.back()) + " bytes, not the structure's size");
        if (membersSet_) return Fail(call + " clears " + configName_ + " after its members are set");
        return true;
    }

    bool IsSizeOfConfig(Span v) const {
        const std::string s = Compact(v);
        return s == "sizeof(" + configName_ + ")" || s == "sizeof " + configName_ || s == "sizeof(TASKDIALOGCONFIG)" ||
               (!pointerName_.empty() && (s == "sizeof(*" + pointerName_ + ")" || s == "sizeof*" + pointerName_));
    }

    // TASKDIALOGCONFIG name [= {...} | {...}];  TASKDIALOGCONFIG* p = &name;
    std::optional<bool> Declaration(Span s, bool conditional) {
        std::size_t k = 0;
        while (k < s.size() && s[k].Is("const")) ++k;
        if (k < s.size() && s[k].IsPunct("*")) {
            // A pointer to the structure declared before.
            if (!config_ || s.size() != k + 5 || s[k + 1].kind != TokenKind::Identifier || !s[k + 2].IsPunct("=") ||
                !s[k + 3].IsPunct("&") || !s[k + 4].Is(configName_))
                return Refuse("this TASKDIALOGCONFIG pointer does not point to the structure set up in the text");
            if (!pointerName_.empty()) return Refuse("the text has two TASKDIALOGCONFIG pointers");
            pointerName_ = std::string(s[k + 1].text);
            return false;
        }
        if (config_) return Refuse("the text sets up two TASKDIALOGCONFIG structures");
        if (conditional) return Refuse("the TASKDIALOGCONFIG is declared only under a condition");
        if (k >= s.size() || s[k].kind != TokenKind::Identifier)
            return Refuse("the TASKDIALOGCONFIG declaration has no name");
        configName_ = std::string(s[k].text);
        config_ = true;
        configDepth_ = depth_;
        configConditionalDepth_ = conditionalDepth_;
        ++k;
        if (k == s.size()) return false;
        if (s[k].IsPunct("=")) ++k;
        if (k >= s.size() || !s[k].IsPunct("{") || Closing(s.begin + k, s.end) + 1 != s.end)
            return Refuse("the TASKDIALOGCONFIG " + configName_ + " is declared in a way the designer cannot follow");
        return Initializer({s.begin + k + 1, s.end - 1});
    }

    // = {0}, = {}, = { sizeof(...) }, the members in order, or designated.
    std::optional<bool> Initializer(Span body) {
        std::vector<Span> items = Split(body);
        if (!items.empty() && items.back().empty()) items.pop_back();  // a trailing comma
        if (items.size() == 1 && IsNull(items[0])) return false;
        for (std::size_t i = 0; i < items.size(); ++i) {
            Span item = items[i];
            std::string_view name;
            if (item.size() >= 3 && item[0].IsPunct(".") && item[2].IsPunct("=")) {
                name = item[1].text;
                item.begin += 3;
            } else if (i < std::size(kMemberOrder)) {
                name = kMemberOrder[i];
            } else {
                return Refuse("the initializer of " + configName_ + " has more values than TASKDIALOGCONFIG has members");
            }
            if (item.empty()) return Refuse("the initializer of " + configName_ + " has an empty value");
            if (item[0].IsPunct("{") && Closing(item.begin, item.end) + 1 == item.end) {
                item = {item.begin + 1, item.end - 1};  // braces around a union's value
            }
            if (name == "cbSize" && IsNull(item)) continue;
            if (!SetMember(name, item)) return std::nullopt;
        }
        return false;
    }

    // TASKDIALOG_BUTTON [const] name[N] = { {id, text}, ... };
    std::optional<bool> ButtonArray(Span s) {
        std::size_t k = 0;
        while (k < s.size() && s[k].Is("const")) ++k;
        if (s.size() < k + 3 || s[k].kind != TokenKind::Identifier || !s[k + 1].IsPunct("["))
            return false;  // a single button or a pointer: other code
        const std::string name(s[k].text);
        const Token* close = Closing(s.begin + k + 1, s.end);
        if (close == s.end) return Refuse("the button array " + name + " has no closing bracket");
        const Token* rest = close + 1;
        if (rest == s.end) return false;  // its buttons are set one by one: the program's own, kept by name
        if (rest->IsPunct("=")) ++rest;
        if (rest == s.end || !rest->IsPunct("{") || Closing(rest, s.end) + 1 != s.end)
            return Refuse("the button array " + name + " is declared in a way the designer cannot follow");
        std::vector<Span> items = Split({rest + 1, s.end - 1});
        if (!items.empty() && items.back().empty()) items.pop_back();
        std::vector<TaskButton> buttons;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const Span item = items[i];
            const std::string which = "button " + std::to_string(i + 1) + " of " + name;
            if (item.size() < 2 || !item[0].IsPunct("{") || Closing(item.begin, item.end) + 1 != item.end)
                return Refuse(which + " is not written as { id, text }");
            const std::vector<Span> parts = Split({item.begin + 1, item.end - 1});
            if (parts.size() != 2 || parts[0].empty()) return Refuse(which + " is not written as { id, text }");
            TaskButton button;
            button.id = Compact(parts[0]);
            TaskText text;
            if (!SetText(text, parts[1], which)) return std::nullopt;
            if (text.variable || IsNull(parts[1]))
                return Refuse("the text of " + which + " is no literal; the designer holds literal button texts");
            button.text = std::move(text.text);
            buttons.push_back(std::move(button));
        }
        for (const auto& array : arrays_)
            if (array.first == name) return Refuse("the text declares two button arrays named " + name);
        arrays_.emplace_back(name, std::move(buttons));
        return false;
    }

    // A text: literals (adjacent ones one text, TEXT() and _T() taken off),
    // NULL, or any other expression as a variable.
    bool SetText(TaskText& field, Span v, std::string_view what) {
        field = {};
        if (v.empty()) return Fail("the " + std::string(what) + " has no value");
        if (IsNull(v)) return true;
        LiteralTextReader reader;
        std::string problem;
        bool literal = true;
        for (const Token* t = v.begin; t != v.end && literal;) {
            bool macro = false;
            const Token* lit = t;
            if (t->kind == TokenKind::Identifier &&
                (t->Is("TEXT") || t->Is("_T") || t->Is("_TEXT") || t->Is("__TEXT") || t->Is("__T")) &&
                v.end - t >= 4 && t[1].IsPunct("(") && t[2].kind == TokenKind::String && t[3].IsPunct(")")) {
                macro = true;
                lit = t + 2;
            }
            StringLiteralParts parts;
            if (lit->kind != TokenKind::String || !SplitStringLiteral(*lit, parts) || !parts.suffix.empty()) {
                literal = false;
                break;
            }
            if (!macro && parts.prefix != LiteralPrefix::Wide)
                return Fail("the " + std::string(what) + " is a narrow literal; a task dialog takes wide strings (L\"...\")");
            if (lit->spliced) return Fail("a literal of the " + std::string(what) + " is continued over a line break");
            if (!reader.Append(parts, macro, problem)) return Fail("the " + std::string(what) + ": " + problem);
            t = macro ? t + 4 : t + 1;
        }
        if (literal) {
            field.text = reader.Take();
            return true;
        }
        field.text = Compact(v);
        field.variable = true;
        return true;
    }

    // TD_*_ICON, their values, NULL, or an icon kept as written.
    bool SetIcon(TaskIcon& icon, std::string& source, Span v, std::string_view member) {
        icon = TaskIcon::None;
        source.clear();
        if (IsNull(v)) return true;
        static constexpr std::pair<std::string_view, TaskIcon> kIcons[] = {
            {"TD_WARNING_ICON", TaskIcon::Warning}, {"TD_ERROR_ICON", TaskIcon::Error},
            {"TD_INFORMATION_ICON", TaskIcon::Information}, {"TD_SHIELD_ICON", TaskIcon::Shield},
            // As the headers define them.
            {"MAKEINTRESOURCEW(-1)", TaskIcon::Warning}, {"MAKEINTRESOURCEW(-2)", TaskIcon::Error},
            {"MAKEINTRESOURCEW(-3)", TaskIcon::Information}, {"MAKEINTRESOURCEW(-4)", TaskIcon::Shield},
        };
        const std::string text = Compact(v);
        for (const auto& [name, i] : kIcons)
            if (text == name) {
                icon = i;
                return true;
            }
        if (v.size() == 1 && v[0].text.starts_with("TD_"))
            return Fail(text + " in " + std::string(member) + " is no icon the headers define");
        source = text;
        return true;
    }

    // Terms joined with |: names and numbers the designer has boxes for set
    // them, every other term is kept as written. `other` gets the rest.
    template <typename Known>
    bool SetTerms(Span v, std::string_view prefix, std::string_view member, unsigned designerBits,
                  std::vector<std::string>& other, Known&& known) {
        other.clear();
        for (const Span term : Split(v, "|")) {
            if (term.empty()) return Fail("the " + std::string(member) + " has an empty term");
            if (IsNull(term)) continue;
            if (term.size() == 1 && term[0].kind == TokenKind::Number) {
                const auto value = NumberValue(term[0]);
                if (!value) return Fail("the number " + std::string(term[0].text) + " in " + std::string(member) + " is too large");
                known(static_cast<unsigned>(*value) & designerBits, "");
                if (const unsigned rest = static_cast<unsigned>(*value) & ~designerBits) other.push_back(Hex(rest));
                continue;
            }
            if (term.size() == 1 && term[0].kind == TokenKind::Identifier && term[0].text.starts_with(prefix)) {
                if (!known(0, term[0].text))
                    return Fail(std::string(term[0].text) + " in " + std::string(member) + " is not a name the headers define");
                continue;
            }
            other.push_back(Compact(term));
        }
        return true;
    }

    bool SetFlags(Span v) {
        TaskDialogConfig& c = read_;
        for (const Flag& f : kFlags)
            if (f.field) c.*f.field = false;
        unsigned designerBits = 0;
        for (const Flag& f : kFlags)
            if (f.field) designerBits |= f.bit;
        std::vector<std::string> named;  // known flags without a box, by name
        const bool ok = SetTerms(v, "TDF_", "dwFlags", designerBits, c.otherFlags, [&](unsigned bits, std::string_view name) {
            for (const Flag& f : kFlags) {
                if (name.empty() ? (bits & f.bit) != 0 : name == f.name) {
                    if (f.field)
                        c.*f.field = true;
                    else
                        named.emplace_back(f.name);
                    if (!name.empty()) return true;
                }
            }
            return name.empty();
        });
        named.insert(named.end(), c.otherFlags.begin(), c.otherFlags.end());
        c.otherFlags = std::move(named);
        return ok;
    }

    bool SetCommonButtons(Span v) {
        TaskDialogConfig& c = read_;
        c.commonButtons = 0;
        return SetTerms(v, "TDCBF_", "dwCommonButtons", 0x3F, c.otherCommonButtons,
                        [&](unsigned bits, std::string_view name) {
                            if (name.empty()) return c.commonButtons |= bits, true;
                            for (const auto& [n, bit] : kCommonButtonNames)
                                if (n == name) return c.commonButtons |= bit, true;
                            return false;
                        });
    }

    bool SetMember(std::string_view name, Span v) {
        TaskDialogConfig& c = read_;
        const std::string member(name);
        if (v.empty()) return Fail("the member " + member + " has no value");
        // A comma operator would split the value into arguments where the
        // short call is written.
        if (Split(v).size() > 1) return Fail("the value of the member " + member + " holds a comma");
        auto kept = [&](std::string& field) {
            field = IsNull(v) ? std::string() : Compact(v);
            return true;
        };
        if (name == "cbSize") {
            if (!IsSizeOfConfig(v)) return Fail("cbSize is " + Compact(v) + ", not the structure's size");
            return true;
        }
        if (name == "hwndParent") return c.owner = Compact(v), true;
        if (name == "hInstance") return kept(c.instance);
        if (name == "pfCallback") return kept(c.callback);
        if (name == "lpCallbackData") return kept(c.callbackData);
        if (name == "dwFlags") return SetFlags(v);
        if (name == "dwCommonButtons") return SetCommonButtons(v);
        if (name == "pszWindowTitle") return SetText(c.title, v, "window title");
        if (name == "pszMainInstruction") return SetText(c.mainInstruction, v, "main instruction");
        if (name == "pszContent") return SetText(c.content, v, "content");
        if (name == "pszVerificationText") return SetText(c.verification, v, "verification text");
        if (name == "pszExpandedInformation") return SetText(c.expandedInformation, v, "expanded information");
        if (name == "pszExpandedControlText") return SetText(c.expandedControlText, v, "expanded control text");
        if (name == "pszCollapsedControlText") return SetText(c.collapsedControlText, v, "collapsed control text");
        if (name == "pszFooter") return SetText(c.footer, v, "footer");
        if (name == "pszMainIcon" || name == "hMainIcon") {
            c.mainIconHandle = name == "hMainIcon";
            return SetIcon(c.mainIcon, c.mainIconSource, v, name);
        }
        if (name == "pszFooterIcon" || name == "hFooterIcon") {
            c.footerIconHandle = name == "hFooterIcon";
            return SetIcon(c.footerIcon, c.footerIconSource, v, name);
        }
        if (name == "cButtons") return buttonCount_ = v, true;
        if (name == "pButtons") return buttonArray_ = v, true;
        if (name == "cRadioButtons") return radioCount_ = v, true;
        if (name == "pRadioButtons") return radioArray_ = v, true;
        if (name == "nDefaultButton") return c.defaultButton = Compact(v), true;
        if (name == "nDefaultRadioButton") return c.defaultRadioButton = Compact(v), true;
        if (name == "cxWidth") {
            const auto width = v.size() == 1 ? NumberValue(v[0]) : std::nullopt;
            if (!width) return Fail("cxWidth is " + Compact(v) + ", not a number of dialog units");
            c.width = static_cast<unsigned>(*width);
            return true;
        }
        return Fail(member + " is no member of TASKDIALOGCONFIG");
    }

    // The buttons a count and an array member give: an array initialised in
    // the text (the count must be its own), or one the program fills itself,
    // kept as written.
    bool Buttons(Span count, Span array, std::string_view what, std::vector<TaskButton>& buttons,
                 std::string& arraySource, std::string& countSource) {
        buttons.clear();
        arraySource.clear();
        countSource.clear();
        const std::string countText = count.empty() ? std::string() : Compact(count);
        if (array.empty() || IsNull(array)) {
            if (countText.empty() || countText == "0") return true;
            return Fail("the " + std::string(what) + " count is " + countText + " but no array is given");
        }
        std::string name = Compact(array);
        if (name.starts_with("&") && name.ends_with("[0]")) name = name.substr(1, name.size() - 4);
        const std::vector<TaskButton>* found = nullptr;
        for (const auto& [n, list] : arrays_)
            if (n == name) found = &list;
        if (!found) {
            arraySource = Compact(array);
            countSource = countText;
            return true;
        }
        bool counted = countText == "ARRAYSIZE(" + name + ")" || countText == "_countof(" + name + ")" ||
                       countText == "std::size(" + name + ")";
        for (const std::string& all : {"sizeof(" + name + ")", "sizeof " + name})
            for (const std::string& one : {"sizeof(" + name + "[0])", "sizeof " + name + "[0]", "sizeof(*" + name + ")",
                                          "sizeof*" + name, std::string("sizeof(TASKDIALOG_BUTTON)")})
                counted = counted || countText == all + "/" + one || countText == "(" + all + "/" + one + ")";
        if (!counted && count.size() == 1) {
            const auto n = NumberValue(count[0]);
            counted = n && *n == found->size();
        }
        if (!counted)
            return Fail("the " + std::string(what) + " count is " + (countText.empty() ? "not set" : countText) +
                        ", not the number of buttons in " + name);
        buttons = *found;
        return true;
    }

    // An out-parameter: NULL, or as written.
    static std::string Result(Span v) { return IsNull(v) ? std::string() : Compact(v); }

    // The call, where it stands in the statement: nothing (refused), false
    // (none here), true (read).
    std::optional<bool> FindCall(Span s) {
        for (const Token* t = s.begin; t != s.end; ++t) {
            if (t->kind != TokenKind::Identifier || t + 1 == s.end || !t[1].IsPunct("(")) continue;
            const bool indirect = t->Is("TaskDialogIndirect");
            if (!indirect && !t->Is("TaskDialog")) continue;
            const Token* close = Closing(t + 1, s.end);
            if (close == s.end) return Refuse(std::string(t->text) + "( has no closing parenthesis");
            // Written on one line, a preprocessor line in the call would no
            // longer be one.
            for (const Token* k = t + 2; k != close; ++k)
                if (k->kind == TokenKind::Directive)
                    return Refuse("a preprocessor line stands inside the " + std::string(t->text) + " call");
            const std::vector<Span> args = Split({t + 2, close});
            const bool ok = indirect ? IndirectCall(args) : ShortCall(args);
            if (!ok) return std::nullopt;
            return true;
        }
        return false;
    }

    bool IndirectCall(const std::vector<Span>& args) {
        if (args.size() != 4)
            return Fail("this TaskDialogIndirect call has " + std::to_string(args.size()) +
                        " arguments; TaskDialogIndirect takes 4");
        const std::string target = Compact(args[0]);
        if (!config_ || (target != "&" + configName_ && (pointerName_.empty() || target != pointerName_)))
            return Fail("TaskDialogIndirect(" + target + ") needs the TASKDIALOGCONFIG set-up in the text");
        TaskDialogConfig& c = read_;
        c.resultButton = Result(args[1]);
        c.resultRadioButton = Result(args[2]);
        c.resultVerification = Result(args[3]);
        return Buttons(buttonCount_, buttonArray_, "custom button", c.buttons, c.buttonsSource, c.buttonCountSource) &&
               Buttons(radioCount_, radioArray_, "radio button", c.radioButtons, c.radioButtonsSource,
                       c.radioButtonCountSource);
    }

    // (owner, instance, title, instruction, content, buttons, icon, pnButton)
    bool ShortCall(const std::vector<Span>& args) {
        if (config_ || !arrays_.empty()) return Fail("TaskDialog takes no TASKDIALOGCONFIG or button array");
        if (args.size() != 8)
            return Fail("this TaskDialog call has " + std::to_string(args.size()) + " arguments; TaskDialog takes 8");
        for (const Span& a : args)
            if (a.empty()) return Fail("an argument of this TaskDialog call is empty");
        TaskDialogConfig& c = read_;
        c.owner = Compact(args[0]);
        c.instance = Result(args[1]);
        c.resultButton = Result(args[7]);
        return SetText(c.title, args[2], "window title") && SetText(c.mainInstruction, args[3], "main instruction") &&
               SetText(c.content, args[4], "content") && SetCommonButtons(args[5]) &&
               SetIcon(c.mainIcon, c.mainIconSource, args[6], "the icon argument");
    }

    // After the call's statement: nothing, or the head of the answer's if or
    // switch on the button received (what its braces hold is the user's).
    bool Finish(Span rest, TaskDialogConfig& out, AnswerHandling& answer) {
        AnswerHandling read = AnswerHandling::None;
        const std::string& result = read_.resultButton;
        // Braces that open or close the blocks the call stands in.
        while (!rest.empty() && (rest[0].IsPunct("{") || rest[0].IsPunct("}"))) ++rest.begin;
        if (!rest.empty()) {
            const std::string var = result.starts_with("&") ? result.substr(1) : std::string();
            const std::string head = Compact({rest.begin, std::min(rest.end, rest.begin + 4)});
            if (!var.empty() && head == "if(" + var + "==") {
                const Token* close = Closing(rest.begin + 1, rest.end);
                if (close == rest.end || close + 1 == rest.end || !close[1].IsPunct("{"))
                    return Fail("the code after the call is not the answer's if");
                read = AnswerHandling::If;
            } else if (!var.empty() && head == "switch(" + var + ")" && rest.size() > 4 && rest[4].IsPunct("{")) {
                read = AnswerHandling::Switch;
            } else {
                return Fail("code follows the call: " + Compact({rest.begin, std::min(rest.end, rest.begin + 6)}));
            }
            // The answer's own receivers are the writer's to declare again.
            read_.resultButton.clear();
            if (read_.resultRadioButton == "&nRadioButton") read_.resultRadioButton.clear();
            if (read_.resultVerification == "&fVerificationFlagChecked") read_.resultVerification.clear();
        }
        out = std::move(read_);
        answer = read;
        return true;
    }

    const Tokens& tokens_;
    std::string& problem_;
    TaskDialogConfig read_;
    bool config_ = false;
    std::string configName_, pointerName_;
    bool membersSet_ = false;
    int depth_ = 0, configDepth_ = 0;
    int conditionalDepth_ = 0, configConditionalDepth_ = 0;
    std::vector<std::pair<std::string, std::vector<TaskButton>>> arrays_;
    Span buttonCount_, buttonArray_, radioCount_, radioArray_;
};

}  // namespace

bool IsTaskDialogStatement(std::string_view text) {
    Lexer lexer(text);
    Token t;
    bool call = false;
    while (lexer.Next(t)) {
        if (call && t.IsPunct("(")) return true;
        call = t.kind == TokenKind::Identifier && (t.Is("TaskDialog") || t.Is("TaskDialogIndirect"));
        if (t.kind == TokenKind::Identifier && (t.Is("TASKDIALOGCONFIG") || t.Is("TASKDIALOG_BUTTON"))) return true;
    }
    return false;
}

bool ReadTaskDialog(std::string_view text, TaskDialogConfig& config, AnswerHandling* answerRead,
                    std::string* problem) {
    const Tokens tokens = Tokenize(text);
    std::string why;
    TaskDialogConfig read;
    AnswerHandling answer = AnswerHandling::None;
    if (!Reader(tokens, why).Read(read, answer)) {
        if (problem) *problem = std::move(why);
        return false;
    }
    config = std::move(read);
    if (answerRead) *answerRead = answer;
    return true;
}

}  // namespace pw
