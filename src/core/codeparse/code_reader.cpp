#include "core/codeparse/code_reader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <vector>

#include "core/lex/c_lexer.h"
#include "core/codeparse/c_literal.h"
#include "core/codeparse/style_reader.h"
#include "core/model/clear_form.h"
#include "core/model/option_tables.h"
#include "core/model/utf8.h"
#include "res/resource.h"

namespace pw {
namespace {

using Tokens = std::span<const Token>;

enum class CallKind { Box, BoxEx, Indirect };
enum class Suffix { None, A, W };

struct CallName {
    std::string_view name;
    CallKind kind;
    Suffix suffix;
};

constexpr std::array<CallName, 9> kCallNames{{
    {"MessageBox", CallKind::Box, Suffix::None},
    {"MessageBoxA", CallKind::Box, Suffix::A},
    {"MessageBoxW", CallKind::Box, Suffix::W},
    {"MessageBoxEx", CallKind::BoxEx, Suffix::None},
    {"MessageBoxExA", CallKind::BoxEx, Suffix::A},
    {"MessageBoxExW", CallKind::BoxEx, Suffix::W},
    {"MessageBoxIndirect", CallKind::Indirect, Suffix::None},
    {"MessageBoxIndirectA", CallKind::Indirect, Suffix::A},
    {"MessageBoxIndirectW", CallKind::Indirect, Suffix::W},
}};

const CallName* CallNameOf(const Token& token) {
    if (token.kind != TokenKind::Identifier || !token.text.starts_with("MessageBox")) return nullptr;
    for (const CallName& call : kCallNames)
        if (token.text == call.name) return &call;
    return nullptr;
}

// What a refusal says; empty while all is well.
struct Refusal {
    std::string reason;
    bool refused = false;
    bool Refuse(std::string why) {
        if (!refused) reason = std::move(why);
        refused = true;
        return false;
    }
};

bool IsOpen(const Token& t) { return t.kind == TokenKind::Punctuator && (t.text == "(" || t.text == "[" || t.text == "{"); }
bool IsClose(const Token& t) { return t.kind == TokenKind::Punctuator && (t.text == ")" || t.text == "]" || t.text == "}"); }

char Closer(const Token& open) { return open.text == "(" ? ')' : open.text == "[" ? ']' : '}'; }

// The index of the bracket that closes the one at `open`, or npos when the
// brackets between do not pair up.
std::size_t MatchingClose(Tokens tokens, std::size_t open) {
    std::vector<char> stack;
    for (std::size_t i = open; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (IsOpen(t)) {
            stack.push_back(Closer(t));
        } else if (IsClose(t)) {
            if (stack.empty() || stack.back() != t.text[0]) return std::string_view::npos;
            stack.pop_back();
            if (stack.empty()) return i;
        }
    }
    return std::string_view::npos;
}

// Splits at the commas outside brackets. The brackets inside are balanced:
// the caller found the closing one.
std::vector<Tokens> SplitArguments(Tokens inside) {
    std::vector<Tokens> arguments;
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < inside.size(); ++i) {
        const Token& t = inside[i];
        if (IsOpen(t))
            ++depth;
        else if (IsClose(t))
            --depth;
        else if (depth == 0 && t.IsPunct(",")) {
            arguments.push_back(inside.subspan(start, i - start));
            start = i + 1;
        }
    }
    if (!inside.empty()) arguments.push_back(inside.subspan(start));
    return arguments;
}

std::string Source(Tokens tokens) { return tokens.empty() ? std::string() : SourceOf(&tokens.front(), &tokens.back()); }

bool IsTextMacro(const Token& t) {
    return t.kind == TokenKind::Identifier &&
           (t.text == "TEXT" || t.text == "_T" || t.text == "_TEXT" || t.text == "__TEXT" || t.text == "__T");
}

bool IsNullToken(Tokens tokens) {
    return tokens.size() == 1 && (tokens[0].Is("NULL") || tokens[0].Is("0") || tokens[0].Is("nullptr"));
}

// A title or text as the form holds it.
struct TextValue {
    std::string text;
    bool variable = false;
    bool textMacro = false;  // a literal stood in TEXT() and the like
    bool wide = false;       // a literal had the L prefix
};

// Appends the literals of `tokens` (string literals and TEXT()-like groups of
// them, in any mix); false when anything else stands there, or, with the
// refusal's reason set, when a literal cannot be read.
bool AppendLiterals(Tokens tokens, bool inMacro, LiteralTextReader& reader, TextValue& value, Refusal& refusal,
                    std::string_view what) {
    if (tokens.empty()) return false;
    // Parentheses around the whole: ("text").
    if (tokens.front().IsPunct("(") && MatchingClose(tokens, 0) == tokens.size() - 1)
        return AppendLiterals(tokens.subspan(1, tokens.size() - 2), inMacro, reader, value, refusal, what);
    std::size_t i = 0;
    while (i < tokens.size()) {
        const Token& t = tokens[i];
        if (t.kind == TokenKind::String) {
            StringLiteralParts parts;
            if (!SplitStringLiteral(t, parts)) return refusal.Refuse("the " + std::string(what) + " has an unterminated string literal");
            if (!parts.suffix.empty()) return false;
            std::string problem;
            if (!reader.Append(parts, inMacro, problem)) return refusal.Refuse("in the " + std::string(what) + ", " + problem);
            if (parts.prefix == LiteralPrefix::Wide || parts.prefix == LiteralPrefix::Utf16 ||
                parts.prefix == LiteralPrefix::Utf32)
                value.wide = true;
            ++i;
        } else if (IsTextMacro(t) && i + 1 < tokens.size() && tokens[i + 1].IsPunct("(")) {
            const std::size_t close = MatchingClose(tokens, i + 1);
            if (close == std::string_view::npos) return false;
            if (!AppendLiterals(tokens.subspan(i + 2, close - i - 2), true, reader, value, refusal, what)) return false;
            value.textMacro = true;
            i = close + 1;
        } else {
            return false;
        }
    }
    return true;
}

// A literal text or title (adjacent literals are one), else a variable kept
// as written. Nothing when a literal in it cannot be read.
std::optional<TextValue> ReadText(Tokens tokens, Refusal& refusal, std::string_view what, bool title) {
    TextValue value;
    LiteralTextReader reader;
    if (AppendLiterals(tokens, false, reader, value, refusal, what)) {
        value.text = reader.Take();
        return value;
    }
    if (refusal.refused) return std::nullopt;
    for (const Token& t : tokens)
        if (t.kind == TokenKind::String && t.text.find_first_of("\r\n") != std::string_view::npos) {
            refusal.Refuse("the " + std::string(what) + " has a raw string with a line break in an expression");
            return std::nullopt;
        }
    value = TextValue{};
    value.variable = true;
    // No title (NULL, 0, nullptr) is the system's default title, written as NULL.
    value.text = title && IsNullToken(tokens) ? std::string("NULL") : Source(tokens);
    return value;
}

// Everything one statement sets; applied to the form only once all of it has
// been read, so that a refusal changes nothing.
struct BoxReading {
    CallKind kind = CallKind::Box;
    Suffix suffix = Suffix::None;
    std::string owner;
    TextValue text, title;
    bool hasTitle = false, hasText = false;
    StyleReading style;
    int language = kClearLanguage;
    AnswerHandling answer = AnswerHandling::None;
    ParamsOptions params;
};

bool ReadStyleArgument(Tokens tokens, BoxReading& box, Refusal& refusal) {
    std::string problem;
    if (!ReadStyle(tokens, box.style, problem)) return refusal.Refuse(problem);
    return true;
}

bool ReadLanguageArgument(Tokens tokens, BoxReading& box, Refusal& refusal) {
    std::string problem;
    const int row = ReadLanguage(tokens, problem);
    if (row < 0) return refusal.Refuse(problem);
    box.language = row;
    return true;
}

bool ReadTextArgument(Tokens tokens, TextValue& out, Refusal& refusal, std::string_view what, bool title = false) {
    std::optional<TextValue> value = ReadText(tokens, refusal, what, title);
    if (!value) return false;
    out = std::move(*value);
    return true;
}

// The answer handling the writer wraps a call in: "if (" or "switch ("
// right before it (a "::" in between allowed).
AnswerHandling AnswerBefore(Tokens tokens, std::size_t name) {
    std::size_t k = name;
    if (k > 0 && tokens[k - 1].IsPunct("::")) --k;
    if (k < 2 || !tokens[k - 1].IsPunct("(")) return AnswerHandling::None;
    if (tokens[k - 2].Is("if") && tokens[k - 2].kind == TokenKind::Identifier) return AnswerHandling::If;
    if (tokens[k - 2].Is("switch") && tokens[k - 2].kind == TokenKind::Identifier) return AnswerHandling::Switch;
    return AnswerHandling::None;
}

bool ReadCallArguments(const CallName& call, std::span<const Tokens> args, BoxReading& box, Refusal& refusal) {
    const std::size_t want = call.kind == CallKind::BoxEx ? 5 : 4;
    if (args.size() != want) {
        std::string why = "this " + std::string(call.name) + " call has " + std::to_string(args.size()) +
                          (args.size() == 1 ? " argument; " : " arguments; ") + std::string(call.name) + " takes " +
                          std::to_string(want);
        if (call.kind == CallKind::Box && args.size() == 3)
            why += " (MFC's CWnd::MessageBox takes 3: text, caption and type; it is not the Win32 call)";
        return refusal.Refuse(why);
    }
    box.owner = Source(args[0]);
    if (!ReadTextArgument(args[1], box.text, refusal, "text argument")) return false;
    if (!ReadTextArgument(args[2], box.title, refusal, "title argument", true)) return false;
    box.hasText = box.hasTitle = true;
    if (!ReadStyleArgument(args[3], box, refusal)) return false;
    if (call.kind == CallKind::BoxEx && !ReadLanguageArgument(args[4], box, refusal)) return false;
    return true;
}

// ---- The structure form ----

constexpr std::array<std::string_view, 10> kMembers{
    "cbSize",   "hwndOwner",       "hInstance",          "lpszText",    "lpszCaption",
    "dwStyle",  "lpszIcon",        "dwContextHelpId",    "lpfnMsgBoxCallback", "dwLanguageId",
};

bool IsStructureType(const Token& t) {
    return t.kind == TokenKind::Identifier && (t.text == "MSGBOXPARAMS" || t.text == "MSGBOXPARAMSA" || t.text == "MSGBOXPARAMSW");
}

// Statements at ";", and at braces that open or close a block (an
// initializer's braces belong to its statement); a preprocessor line ends
// one too, so that a value with one inside is found empty and refused.
// MSGBOXPARAMSW is the wide structure, MSGBOXPARAMSA the narrow one.
Suffix SuffixOf(const Token& type) {
    return type.text.ends_with('W') ? Suffix::W : type.text.ends_with('A') ? Suffix::A : Suffix::None;
}

bool IsPointerType(const Token& t) {
    return t.kind == TokenKind::Identifier &&
           (t.text == "LPMSGBOXPARAMS" || t.text == "LPMSGBOXPARAMSA" || t.text == "LPMSGBOXPARAMSW");
}

std::vector<Tokens> SplitStatements(Tokens tokens) {
    std::vector<Tokens> statements;
    int depth = 0;
    std::size_t start = 0;
    auto end = [&](std::size_t i) {
        if (i > start) statements.push_back(tokens.subspan(start, i - start));
        start = i + 1;
    };
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.kind == TokenKind::Directive) {
            end(i);
        } else if (t.IsPunct("(") || t.IsPunct("[")) {
            ++depth;
        } else if (t.IsPunct(")") || t.IsPunct("]")) {
            --depth;
        } else if (t.IsPunct("{") && i > start && (tokens[i - 1].IsPunct("=") || depth > 0)) {
            const std::size_t close = MatchingClose(tokens, i);
            if (close == std::string_view::npos) break;
            i = close;
        } else if (depth <= 0 && (t.IsPunct(";") || t.IsPunct("{") || t.IsPunct("}"))) {
            end(i);
        }
    }
    if (start < tokens.size()) statements.push_back(tokens.subspan(start));
    return statements;
}

bool IsAssignmentOperator(const Token& t) {
    if (t.kind != TokenKind::Punctuator) return false;
    for (std::string_view op : {"=", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "<<=", ">>="})
        if (t.text == op) return true;
    return false;
}

struct MemberValues {
    std::array<std::optional<std::vector<Token>>, kMembers.size()> values;
    void Clear() { values = {}; }
};

int MemberIndex(std::string_view name) {
    for (std::size_t i = 0; i < kMembers.size(); ++i)
        if (kMembers[i] == name) return static_cast<int>(i);
    return -1;
}

bool SetMember(MemberValues& members, std::string_view name, Tokens value, Refusal& refusal) {
    const int index = MemberIndex(name);
    if (index < 0) return refusal.Refuse("MSGBOXPARAMS has no member " + std::string(name));
    members.values[static_cast<std::size_t>(index)] = std::vector<Token>(value.begin(), value.end());
    return true;
}

// "{ ... }" after a declaration: in member order, or designated.
bool ReadInitializer(Tokens braces, MemberValues& members, Refusal& refusal) {
    const std::vector<Tokens> items = SplitArguments(braces.subspan(1, braces.size() - 2));
    for (std::size_t k = 0; k < items.size(); ++k) {
        Tokens item = items[k];
        if (item.empty()) {
            if (k + 1 == items.size()) break;  // a trailing comma
            return refusal.Refuse("the MSGBOXPARAMS initializer has an empty item");
        }
        if (item.size() >= 3 && item[0].IsPunct(".") && item[1].kind == TokenKind::Identifier && item[2].IsPunct("=")) {
            if (!SetMember(members, item[1].text, item.subspan(3), refusal)) return false;
            continue;
        }
        if (k >= kMembers.size()) return refusal.Refuse("the MSGBOXPARAMS initializer has more items than members");
        if (!SetMember(members, kMembers[k], item, refusal)) return false;
    }
    return true;
}

// The set-up statements of the structure `name` (and of a pointer to it).
struct StructureScan {
    std::string name;
    bool declared = false;
    Suffix declaredSuffix = Suffix::None;
    MemberValues members;
};

bool IsZeroing(Tokens statement, const std::vector<std::string>& names) {
    if (statement.size() < 4) return false;
    std::size_t k = 0;
    if (statement[k].IsPunct("::")) ++k;
    const Token& fn = statement[k];
    if (!(fn.Is("ZeroMemory") || fn.Is("memset") || fn.Is("SecureZeroMemory") || fn.Is("RtlZeroMemory"))) return false;
    if (!statement[k + 1].IsPunct("(")) return false;
    std::size_t a = k + 2;
    if (a < statement.size() && statement[a].IsPunct("&")) ++a;
    return a < statement.size() && std::find(names.begin(), names.end(), statement[a].text) != names.end();
}

bool ScanStructure(Tokens tokens, std::size_t callAt, std::string_view pointerOrName, bool addressOf,
                   StructureScan& scan, Refusal& refusal) {
    std::vector<std::string> names{std::string(pointerOrName)};
    const std::vector<Tokens> statements = SplitStatements(tokens.subspan(0, callAt));
    // The declaration: [const|static ...] MSGBOXPARAMS[A|W] name [= ...];
    // or, for a pointer, "... * p = &name".
    for (Tokens s : statements) {
        // The writer's statement with no structure name: "MSGBOXPARAMS ;",
        // ".member= value;" and "MessageBoxIndirect(&)".
        if (pointerOrName.empty() && s.size() == 1 && IsStructureType(s[0])) {
            scan.declared = true;
            scan.declaredSuffix = SuffixOf(s[0]);
            continue;
        }
        for (std::size_t k = 0; k + 1 < s.size(); ++k) {
            if (IsStructureType(s[k]) || IsPointerType(s[k])) {
                std::size_t n = k + 1;
                const bool pointer = IsPointerType(s[k]) || s[n].IsPunct("*");
                if (pointer) ++n;
                if (n >= s.size() || s[n].kind != TokenKind::Identifier) break;
                const std::string declared(s[n].text);
                if (!pointer && addressOf && declared == pointerOrName) {
                    scan.declared = true;
                    scan.name = declared;
                    scan.declaredSuffix = SuffixOf(s[k]);
                    if (n + 1 < s.size() && s[n + 1].IsPunct("=")) {
                        Tokens init = s.subspan(n + 2);
                        if (!init.empty() && init[0].IsPunct("{") && MatchingClose(init, 0) == init.size() - 1) {
                            if (!ReadInitializer(init, scan.members, refusal)) return false;
                        } else {
                            return refusal.Refuse("the MSGBOXPARAMS " + declared + " is initialised in a way not read");
                        }
                    }
                } else if (pointer && !addressOf && declared == pointerOrName && n + 3 < s.size() &&
                           s[n + 1].IsPunct("=") && s[n + 2].IsPunct("&") && s[n + 3].kind == TokenKind::Identifier) {
                    names.emplace_back(s[n + 3].text);
                    scan.name = std::string(s[n + 3].text);
                }
                break;
            }
        }
    }
    if (!addressOf && names.size() > 1) {
        // The structure the pointer points to is declared like any other.
        StructureScan inner;
        if (!ScanStructure(tokens, callAt, names[1], true, inner, refusal)) return false;
        scan.declared = inner.declared;
        scan.declaredSuffix = inner.declaredSuffix;
        scan.members = inner.members;
    }
    if (!scan.declared) return false;
    // How deep in #if blocks each token stands: a member set there, or a
    // value a preprocessor line cuts, would be read as one branch only.
    std::vector<int> conditional(callAt + 1, 0);
    for (std::size_t k = 0, depth = 0; k < callAt; ++k) {
        conditional[k] = static_cast<int>(depth);
        if (tokens[k].kind != TokenKind::Directive) continue;
        std::string_view word = tokens[k].text.substr(1);
        word.remove_prefix(std::min(word.find_first_not_of(" \t"), word.size()));
        if (word.starts_with("if"))
            ++depth;
        else if (word.starts_with("endif") && depth > 0)
            --depth;
    }
    auto underCondition = [&](Tokens statement) {
        const std::size_t first = static_cast<std::size_t>(statement.data() - tokens.data());
        const std::size_t after = first + statement.size();
        return conditional[first] > 0 || (after < callAt && tokens[after].kind == TokenKind::Directive);
    };
    // Assignments name.member = value; and name->member = value; a zeroing
    // after them sets everything back.
    for (Tokens s : statements) {
        const bool member = s.size() >= 3 && ((s[0].IsPunct(".") && pointerOrName.empty()) ||
                                              (std::find(names.begin(), names.end(), s[0].text) != names.end() &&
                                               (s[1].IsPunct(".") || s[1].IsPunct("->"))));
        if ((member || IsZeroing(s, names)) && underCondition(s))
            return refusal.Refuse("a member of " + (scan.name.empty() ? names.front() : scan.name) +
                                  " is set under a preprocessor condition");
        if (IsZeroing(s, names)) {
            scan.members.Clear();
            continue;
        }
        if (pointerOrName.empty() && s.size() >= 3 && s[0].IsPunct(".") && s[1].kind == TokenKind::Identifier &&
            s[2].IsPunct("=")) {
            if (!SetMember(scan.members, s[1].text, s.subspan(3), refusal)) return false;
            continue;
        }
        if (s.size() >= 4 && s[0].kind == TokenKind::Identifier &&
            std::find(names.begin(), names.end(), s[0].text) != names.end() && (s[1].IsPunct(".") || s[1].IsPunct("->")) &&
            s[2].kind == TokenKind::Identifier && s[3].IsPunct("=")) {
            if (!SetMember(scan.members, s[2].text, s.subspan(4), refusal)) return false;
            continue;
        }
        // A member set anywhere else (inside an if, a compound assignment)
        // would be missed: refuse rather than read a changed box.
        for (std::size_t k = 0; k + 3 < s.size(); ++k)
            if (s[k].kind == TokenKind::Identifier && std::find(names.begin(), names.end(), s[k].text) != names.end() &&
                (s[k + 1].IsPunct(".") || s[k + 1].IsPunct("->")) && IsAssignmentOperator(s[k + 3]))
                return refusal.Refuse("the member " + std::string(s[k + 2].text) + " of " + std::string(s[k].text) +
                                      " is set inside other code");
    }
    if (scan.name.empty()) scan.name = names.front();
    return true;
}

std::optional<std::string> IconIdOf(Tokens value) {
    if (value.size() >= 3 && value[0].kind == TokenKind::Identifier &&
        (value[0].text == "MAKEINTRESOURCE" || value[0].text == "MAKEINTRESOURCEA" || value[0].text == "MAKEINTRESOURCEW") &&
        value[1].IsPunct("(") && MatchingClose(value, 1) == value.size() - 1)
        return Source(value.subspan(2, value.size() - 3));
    return std::nullopt;
}

bool ReadStructureMembers(const MemberValues& members, BoxReading& box, Refusal& refusal) {
    auto value = [&](std::string_view name) -> const std::vector<Token>* {
        const auto& v = members.values[static_cast<std::size_t>(MemberIndex(name))];
        return v ? &*v : nullptr;
    };
    auto tokens = [](const std::vector<Token>* v) { return Tokens(v->data(), v->size()); };
    box.owner = "NULL";
    if (const auto* v = value("hwndOwner")) box.owner = Source(tokens(v));
    box.text = TextValue{"NULL", true};
    box.title = TextValue{"NULL", true};
    if (const auto* v = value("lpszText"); v && !ReadTextArgument(tokens(v), box.text, refusal, "lpszText member")) return false;
    if (const auto* v = value("lpszCaption"); v && !ReadTextArgument(tokens(v), box.title, refusal, "lpszCaption member", true))
        return false;
    box.hasText = box.hasTitle = true;
    if (const auto* v = value("dwStyle"); v && !ReadStyleArgument(tokens(v), box, refusal)) return false;
    // Not set is zero: LANG_NEUTRAL.
    box.language = 0;
    if (const auto* v = value("dwLanguageId"); v && !ReadLanguageArgument(tokens(v), box, refusal)) return false;
    if (const auto* v = value("hInstance")) {
        std::string instance = Source(tokens(v));
        if (instance != "GetModuleHandle(NULL)") box.params.instance = std::move(instance);
    }
    if (const auto* v = value("lpszIcon"); v && !IsNullToken(tokens(v))) {
        const std::optional<std::string> id = IconIdOf(tokens(v));
        if (!id) return refusal.Refuse("the icon " + Source(tokens(v)) + " is no MAKEINTRESOURCE(...) the options can hold");
        box.params.iconId = *id;
    }
    if (const auto* v = value("dwContextHelpId"); v && !IsNullToken(tokens(v))) box.params.contextHelpId = Source(tokens(v));
    if (const auto* v = value("lpfnMsgBoxCallback"); v && !IsNullToken(tokens(v)))
        box.params.callbackName = Source(tokens(v));
    return true;
}

// ---- The statement ----

// Words that may stand right before "::MessageBox" without naming a class.
bool IsKeyword(const Token& t) {
    for (std::string_view word : {"return", "case", "else", "do", "throw", "co_return", "co_await", "sizeof", "not"})
        if (t.text == word) return true;
    return false;
}

bool ReadStatement(Tokens tokens, BoxReading& box, Refusal& refusal) {
    // The first call of one of the names, not a member function's.
    std::size_t at = tokens.size();
    for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
        if (!CallNameOf(tokens[i]) || !tokens[i + 1].IsPunct("(")) continue;
        if (i > 0 && (tokens[i - 1].IsPunct(".") || tokens[i - 1].IsPunct("->")))
            return refusal.Refuse(std::string(tokens[i].text) + " is called here as a member function (MFC's CWnd::" +
                                  std::string(tokens[i].text) + "), not the Win32 call");
        if (i > 1 && tokens[i - 1].IsPunct("::") && tokens[i - 2].kind == TokenKind::Identifier && !IsKeyword(tokens[i - 2]))
            return refusal.Refuse(std::string(tokens[i - 2].text) + "::" + std::string(tokens[i].text) +
                                  " is not the Win32 call");
        at = i;
        break;
    }
    if (at == tokens.size()) {
        for (const Token& t : tokens)
            if (t.Is("AfxMessageBox"))
                return refusal.Refuse("AfxMessageBox is MFC's, not the Win32 call MessageBox");
        return false;
    }
    const CallName& call = *CallNameOf(tokens[at]);
    const std::size_t close = MatchingClose(tokens, at + 1);
    if (close == std::string_view::npos) {
        // Say which argument it is.
        return refusal.Refuse("the " + std::string(call.name) + " call's parentheses do not pair up");
    }
    for (std::size_t k = at + 2; k < close; ++k)
        if (tokens[k].kind == TokenKind::Directive)
            return refusal.Refuse("a preprocessor line stands inside the " + std::string(call.name) + " call");
    box.kind = call.kind;
    box.suffix = call.suffix;
    box.answer = AnswerBefore(tokens, at);
    const std::vector<Tokens> args = SplitArguments(tokens.subspan(at + 2, close - at - 2));
    if (call.kind != CallKind::Indirect) return ReadCallArguments(call, args, box, refusal);

    if (args.size() != 1)
        return refusal.Refuse("this " + std::string(call.name) + " call has " + std::to_string(args.size()) +
                              " arguments; " + std::string(call.name) + " takes 1");
    const Tokens arg = args[0];
    const bool unnamed = arg.size() == 1 && arg[0].IsPunct("&");
    const bool addressOf = unnamed || (arg.size() == 2 && arg[0].IsPunct("&") && arg[1].kind == TokenKind::Identifier);
    const bool pointer = arg.size() == 1 && arg[0].kind == TokenKind::Identifier;
    if (!addressOf && !pointer)
        return refusal.Refuse("the argument " + Source(arg) + " of " + std::string(call.name) +
                              " is not the address of a MSGBOXPARAMS in the text");
    StructureScan scan;
    const std::string_view name = unnamed ? std::string_view() : arg.back().text;
    if (!ScanStructure(tokens, at, name, addressOf, scan, refusal)) {
        if (refusal.refused) return false;
        return refusal.Refuse(std::string(call.name) + "(" + Source(arg) + ") needs the MSGBOXPARAMS set-up of " +
                              std::string(name) + " in the text");
    }
    if (box.suffix == Suffix::None) box.suffix = scan.declaredSuffix;
    box.params.structName = scan.name;
    return ReadStructureMembers(scan.members, box, refusal);
}

CharacterSet CharacterSetOf(const BoxReading& box) {
    if (box.suffix == Suffix::W) return CharacterSet::Wide;
    if (box.suffix == Suffix::A) return CharacterSet::Ansi;
    const bool macro = (!box.text.variable && box.text.textMacro) || (!box.title.variable && box.title.textMacro);
    if (macro) return CharacterSet::Text;
    const bool wide = (!box.text.variable && box.text.wide) || (!box.title.variable && box.title.wide);
    return wide ? CharacterSet::Wide : CharacterSet::Ansi;
}

void Apply(const BoxReading& box, Form& form) {
    ClearForm(form);
    const int type = box.kind == CallKind::BoxEx ? IDC_TYPE_BOXEX : box.kind == CallKind::Indirect ? IDC_TYPE_INDIRECT : IDC_TYPE_BOX;
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, type);
    form.SetText(IDC_PARENT, box.owner);
    form.SetText(IDC_TEXT, box.text.text);
    form.SetChecked(IDC_TEXTVAR, box.text.variable);
    form.SetText(IDC_TITLE, box.title.text);
    form.SetChecked(IDC_TITLEVAR, box.title.variable);
    // A plain MessageBox call names no language: the list keeps its Clear position.
    if (box.kind != CallKind::Box) form.SetListPosition(IDC_LANGUAGE, box.language);
    ApplyStyle(box.style, form);
}

}  // namespace

std::string UnrecognisedMessage(std::string_view reason) {
    std::string message = "Unrecognised code";
    if (!reason.empty()) {
        message += ": ";
        message += reason;
    }
    return message;
}

bool LoadCode(Form& form, std::string_view text, CodeReaderReport& report, CodeReading* reading) {
    const std::vector<Token> tokens = Tokenize(text);
    BoxReading box;
    Refusal refusal;
    if (!ReadStatement(tokens, box, refusal)) {
        report.Unrecognised(refusal.reason);
        return false;
    }
    if (!box.style.other.empty() && !form.HasControl(IDC_OTHERSTYLE)) {
        report.Unrecognised("the style term " + box.style.other +
                            " can be kept only in the advanced layout's Other style field");
        return false;
    }
    Apply(box, form);
    if (reading) {
        reading->options.characterSet = CharacterSetOf(box);
        reading->options.answer = box.answer;
        reading->params = std::move(box.params);
    }
    return true;
}

}  // namespace pw
