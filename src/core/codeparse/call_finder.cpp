#include "core/codeparse/call_finder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>

#include "core/lex/c_lexer.h"

namespace pw {
namespace {

using Tokens = std::span<const Token>;

bool IsMessageBoxName(std::string_view s) {
    if (!s.starts_with("MessageBox")) return false;
    s.remove_prefix(10);
    if (s.starts_with("Ex"))
        s.remove_prefix(2);
    else if (s.starts_with("Indirect"))
        s.remove_prefix(8);
    return s.empty() || s == "A" || s == "W";
}

bool IsTaskDialogName(std::string_view s) { return s == "TaskDialog" || s == "TaskDialogIndirect"; }

bool IsCallName(const Token& t) {
    if (t.kind != TokenKind::Identifier || t.text.size() < 10) return false;
    return t.text[0] == 'M' ? IsMessageBoxName(t.text) : t.text[0] == 'T' && IsTaskDialogName(t.text);
}

bool IsIdentifier(const Token& t, std::string_view s) { return t.kind == TokenKind::Identifier && t.text == s; }

// The types a structure form's set-up declares.
bool IsSetUpType(const Token& t) {
    if (t.kind != TokenKind::Identifier) return false;
    for (std::string_view type : {"MSGBOXPARAMS", "MSGBOXPARAMSA", "MSGBOXPARAMSW", "LPMSGBOXPARAMS", "LPMSGBOXPARAMSA",
                                  "LPMSGBOXPARAMSW", "TASKDIALOGCONFIG", "TASKDIALOG_BUTTON"})
        if (t.text == type) return true;
    return false;
}

// Where one statement ends and the next begins, looking back from a call.
bool IsBoundary(const Token& t) {
    return t.kind == TokenKind::Directive || t.IsPunct(";") || t.IsPunct("{") || t.IsPunct("}");
}

bool IsOpen(const Token& t) { return t.kind == TokenKind::Punctuator && (t.text == "(" || t.text == "[" || t.text == "{"); }
bool IsClose(const Token& t) { return t.kind == TokenKind::Punctuator && (t.text == ")" || t.text == "]" || t.text == "}"); }

// The closing bracket of the one at `open`, or npos when they do not pair up.
std::size_t MatchingClose(Tokens tokens, std::size_t open) {
    int depth = 0;
    for (std::size_t i = open; i < tokens.size(); ++i) {
        if (IsOpen(tokens[i])) {
            ++depth;
        } else if (IsClose(tokens[i])) {
            if (--depth == 0) return i;
            if (depth < 0) break;
        }
    }
    return std::string_view::npos;
}

std::size_t StatementStart(Tokens tokens, std::size_t at) {
    while (at > 0 && !IsBoundary(tokens[at - 1])) --at;
    return at;
}

// The index of the declaration of `name` before `before`: its name token
// right after a set-up type (or "type *"); npos when there is none.
std::size_t DeclarationOf(Tokens tokens, std::string_view name, std::size_t before) {
    for (std::size_t j = before; j-- > 1;) {
        if (tokens[j].kind != TokenKind::Identifier || tokens[j].text != name) continue;
        if (IsSetUpType(tokens[j - 1]) || (tokens[j - 1].IsPunct("*") && j > 1 && IsSetUpType(tokens[j - 2]))) return j;
    }
    return std::string_view::npos;
}

bool IsZeroing(const Token& t) {
    return t.kind == TokenKind::Identifier &&
           (t.text == "ZeroMemory" || t.text == "memset" || t.text == "SecureZeroMemory" || t.text == "RtlZeroMemory");
}

// Whether tokens[from, to) are set-up statements only: declarations of set-up
// types, zeroings and member assignments of the names.
bool OnlySetUp(Tokens tokens, std::size_t from, std::size_t to, std::span<const std::string_view> names) {
    std::size_t s = from;
    while (s < to) {
        std::size_t e = s;
        int depth = 0;
        while (e < to && !(depth == 0 && tokens[e].IsPunct(";"))) {
            if (IsOpen(tokens[e])) ++depth;
            if (IsClose(tokens[e])) --depth;
            if (depth < 0 || tokens[e].kind == TokenKind::Directive || IsCallName(tokens[e])) return false;
            ++e;
        }
        const Tokens st = tokens.subspan(s, e - s);
        bool known = false;
        if (!st.empty()) {
            const std::size_t k = st[0].IsPunct("::") ? 1 : 0;
            const bool named = std::find(names.begin(), names.end(), st[0].text) != names.end();
            if (named && st.size() > 1 && (st[1].IsPunct(".") || st[1].IsPunct("->")))
                known = true;
            else if (k < st.size() && IsZeroing(st[k]))
                known = true;
            else
                for (const Token& t : st)
                    if (IsSetUpType(t)) known = true;
        }
        if (!known) return false;
        s = e + 1;
    }
    return true;
}

bool IsWordByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// Whether the "{" at `at` opens a namespace or an extern "C" block, told
// from the words right before it.
bool OpensNamespaceAt(std::string_view text, std::size_t at) {
    auto skipBack = [&](std::size_t k) {
        while (k > 0 && (text[k - 1] == ' ' || text[k - 1] == '\t' || text[k - 1] == '\r' || text[k - 1] == '\n')) --k;
        return k;
    };
    auto wordBefore = [&](std::size_t k, std::size_t& from) {
        from = k;
        while (from > 0 && IsWordByte(text[from - 1])) --from;
        return text.substr(from, k - from);
    };
    std::size_t k = skipBack(at);
    if (k >= 3 && text.substr(k - 3, 3) == "\"C\"") {
        std::size_t from = 0;
        return wordBefore(skipBack(k - 3), from) == "extern";
    }
    std::size_t from = 0;
    const std::string_view word = wordBefore(k, from);
    if (word == "namespace") return true;
    if (word.empty()) return false;
    return wordBefore(skipBack(from), from) == "namespace";
}

constexpr auto kStartsSomething = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : std::string_view("/\"'{}#;")) table[c] = true;
    return table;
}();

// The end of the line `from` stands on (its line feed, or the text's end),
// lines continued by a backslash included.
std::size_t SplicedLineEnd(std::string_view text, std::size_t from) {
    std::size_t nl = from;
    do {
        nl = text.find('\n', nl + 1);
    } while (nl != std::string_view::npos &&
             (text[nl - 1] == '\\' || (text[nl - 1] == '\r' && nl >= 2 && text[nl - 2] == '\\')));
    return nl == std::string_view::npos ? text.size() : nl;
}

bool FirstOnLine(std::string_view text, std::size_t at) {
    while (at > 0 && (text[at - 1] == ' ' || text[at - 1] == '\t')) --at;
    return at == 0 || text[at - 1] == '\n' || text[at - 1] == '\r';
}

// A quote after a word starts a character literal only after a prefix
// (L, u, U, u8); else it is a digit separator (1'000, 0xFF'FF).
bool StartsCharacter(std::string_view text, std::size_t at) {
    if (at == 0 || !IsWordByte(text[at - 1])) return true;
    std::size_t from = at;
    while (from > 0 && IsWordByte(text[from - 1])) --from;
    const std::string_view word = text.substr(from, at - from);
    return word == "L" || word == "u" || word == "U" || word == "u8";
}

// The ends of top-level blocks (a "}" that closes every brace but a
// namespace's), outside literals and comments: a pass far lighter than the
// lexer's, so that the finder lexes only the blocks that may hold a call.
class TopLevelScan {
public:
    explicit TopLevelScan(std::string_view text) : text_(text) {}

    // The end of the last top-level block before `until` (0: none); `until`
    // grows from call to call.
    std::size_t Advance(std::size_t until);
    // After Advance(at): whether `at` is outside literals, comments and
    // preprocessor lines, and the end of the last ";", "{", "}" or
    // preprocessor line before it: where its statement starts.
    bool InCode(std::size_t at) const { return i_ == at; }
    std::size_t LastBoundary() const { return boundary_; }

private:
    std::string_view text_;
    std::vector<bool> namespaces_;  // per open brace: a namespace's
    std::size_t depth_ = 0;         // of the braces that are no namespace's
    std::size_t last_ = 0;
    std::size_t boundary_ = 0;
    std::size_t i_ = 0;
};

std::size_t TopLevelScan::Advance(std::size_t until) {
    const std::string_view text = text_;
    std::vector<bool>& namespaces = namespaces_;
    std::size_t& depth = depth_;
    std::size_t& last = last_;
    std::size_t& i = i_;
    const std::size_t n = std::min(until, text.size());
    while (i < n) {
        // Most bytes start nothing: pass them over by table.
        while (i < n && !kStartsSomething[static_cast<unsigned char>(text[i])]) ++i;
        if (i >= n) break;
        const char c = text[i];
        if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            // To the line's end; a backslash before it continues the comment.
            i = SplicedLineEnd(text, i);
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            const std::size_t close = text.find("*/", i + 2);
            i = close == std::string_view::npos ? text.size() : close + 2;
        } else if (c == '"' && i > 0 && text[i - 1] == 'R' && (i < 2 || !IsWordByte(text[i - 2]) ||
                                                              text[i - 2] == 'L' || text[i - 2] == 'u' ||
                                                              text[i - 2] == 'U' || text[i - 2] == '8')) {
            const std::size_t open = text.find('(', i + 1);
            if (open == std::string_view::npos || open - i > 17) {
                ++i;
                continue;
            }
            const std::string close = ")" + std::string(text.substr(i + 1, open - i - 1)) + "\"";
            const std::size_t end = text.find(close, open + 1);
            i = end == std::string_view::npos ? text.size() : end + close.size();
        } else if (c == '#' && FirstOnLine(text, i)) {
            // A preprocessor line, splices included: the lexer takes it whole.
            i = SplicedLineEnd(text, i);
            if (i <= n) boundary_ = i;
        } else if (c == ';') {
            boundary_ = ++i;
        } else if (c == '"' || (c == '\'' && StartsCharacter(text, i))) {
            // To the closing quote, or the line's end (unterminated).
            ++i;
            while (i < text.size() && text[i] != c && text[i] != '\n') i += text[i] == '\\' ? 2 : 1;
            ++i;
        } else if (c == '{') {
            const bool ns = depth == 0 && OpensNamespaceAt(text, i);
            namespaces.push_back(ns);
            if (!ns) ++depth;
            boundary_ = ++i;
        } else if (c == '}') {
            if (!namespaces.empty()) {
                if (!namespaces.back()) --depth;
                namespaces.pop_back();
            }
            boundary_ = ++i;
            if (depth == 0 && i <= n) last = i;
        } else {
            ++i;
        }
    }
    return last;
}

constexpr std::string_view kOtherCode = "statements other than its set-up stand between its declaration and the call";

class Finder {
public:
    explicit Finder(std::string_view text) : text_(text) {}

    // Lexes from `base` (a statement's or a top-level block's start) through
    // the call whose name starts at `name`, and hands it to `take`.
    template <typename Take>
    void RunCall(std::size_t base, std::size_t name, Take&& take) {
        Lexer lexer(text_.substr(base));
        Token t;
        std::size_t at = std::string_view::npos;
        int depth = 0;
        while (lexer.Next(t)) {
            t.offset += base;
            block_.push_back(t);
            if (at == std::string_view::npos) {
                if (t.offset == name) at = block_.size() - 1;
                if (t.offset >= name && at == std::string_view::npos) break;
                continue;
            }
            if (block_.size() == at + 2 && !t.IsPunct("(")) break;
            if (IsOpen(t)) ++depth;
            if (IsClose(t) && --depth == 0) {
                // And the token after it: a ";" makes it a statement.
                if (lexer.Next(t)) {
                    t.offset += base;
                    block_.push_back(t);
                }
                break;
            }
            if (t.IsPunct(";")) break;  // no call goes on past a ";"
        }
        if (at != std::string_view::npos && at + 1 < block_.size() && IsCallName(block_[at]) &&
            block_[at + 1].IsPunct("("))
            take(Describe(Tokens(block_), at));
        block_.clear();
    }

private:
    std::size_t LineOf(std::size_t offset) {
        // Names come in text order: count only the new part.
        if (offset < counted_) {
            counted_ = 0;
            line_ = 1;
        }
        const char* p = text_.data() + counted_;
        const char* const end = text_.data() + offset;
        while (p < end) {
            const void* nl = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
            if (nl == nullptr) break;
            ++line_;
            p = static_cast<const char*>(nl) + 1;
        }
        counted_ = offset;
        return line_;
    }

    FoundCall Describe(Tokens tokens, std::size_t i) {
        FoundCall call;
        const Token& name = tokens[i];
        call.name = name.text;
        call.taskDialog = name.text[0] == 'T';
        call.line = LineOf(name.offset);
        call.column = ColumnOf(text_, name.offset);
        std::size_t close = MatchingClose(tokens, i + 1);
        if (close == std::string_view::npos) close = tokens.size() - 1;  // the reader says why
        const std::size_t start = i > 0 && tokens[i - 1].IsPunct("::") ? i - 1 : i;
        call.nameStart = tokens[start].offset;
        call.callEnd = tokens[close].end();
        const std::size_t context = StatementStart(tokens, start);
        call.contextStart = tokens[context].offset;
        const bool semicolon = close + 1 < tokens.size() && tokens[close + 1].IsPunct(";");
        bool labelOnly = context == start;
        if (!labelOnly && (tokens[context].Is("case") || tokens[context].Is("default")) && tokens[start - 1].IsPunct(":")) {
            labelOnly = true;
            for (std::size_t k = context; k < start; ++k)
                if (tokens[k].IsPunct("?")) labelOnly = false;
        }
        if (start == context + 2 && tokens[context].kind == TokenKind::Identifier && tokens[context + 1].IsPunct(":"))
            labelOnly = true;
        if (start == context + 1 && IsIdentifier(tokens[context], "else")) labelOnly = true;
        call.ownStatement = labelOnly && semicolon;
        call.statementEnd = call.ownStatement ? tokens[close + 1].end() : call.callEnd;

        // What the reader needs to see before the name.
        std::size_t read = start;
        if (start >= 2 && tokens[start - 1].IsPunct("(") &&
            (IsIdentifier(tokens[start - 2], "if") || IsIdentifier(tokens[start - 2], "switch")))
            read = start - 2;
        else if (i >= 2 && (tokens[i - 1].IsPunct(".") || tokens[i - 1].IsPunct("->") ||
                            (tokens[i - 1].IsPunct("::") && tokens[i - 2].kind == TokenKind::Identifier)))
            read = i - 2;
        call.readStart = tokens[read].offset;
        call.readEnd = call.statementEnd;

        if (name.text.find("Indirect") != std::string_view::npos) FindSetUp(tokens, i, close, context, call);
        return call;
    }

    // The structure the call is given, declared before it: the set-up starts
    // at the first of its declaration, a pointer's, and the button arrays'.
    void FindSetUp(Tokens tokens, std::size_t i, std::size_t close, std::size_t context, FoundCall& call) {
        std::size_t a = i + 2;
        if (a < close && tokens[a].IsPunct("&")) ++a;
        if (a >= close || tokens[a].kind != TokenKind::Identifier) return;
        std::string_view names[4] = {tokens[a].text};
        std::size_t count = 1;
        std::size_t decl = DeclarationOf(tokens, names[0], context);
        if (decl == std::string_view::npos) return;
        // "LPMSGBOXPARAMS p = &mbp;": the structure is declared before.
        if (decl + 3 < tokens.size() && tokens[decl + 1].IsPunct("=") && tokens[decl + 2].IsPunct("&") &&
            tokens[decl + 3].kind == TokenKind::Identifier) {
            names[count++] = tokens[decl + 3].text;
            const std::size_t target = DeclarationOf(tokens, tokens[decl + 3].text, decl);
            if (target != std::string_view::npos) decl = target;
        }
        std::size_t first = StatementStart(tokens, decl);
        // Button arrays: "config.pButtons = buttons;" and the like.
        if (call.taskDialog) {
            for (std::size_t k = first; k + 2 < context && count < 4; ++k) {
                if (!(tokens[k].Is("pButtons") || tokens[k].Is("pRadioButtons")) || !tokens[k + 1].IsPunct("=") ||
                    tokens[k + 2].kind != TokenKind::Identifier)
                    continue;
                names[count++] = tokens[k + 2].text;
                const std::size_t array = DeclarationOf(tokens, tokens[k + 2].text, first);
                if (array != std::string_view::npos) first = std::min(first, StatementStart(tokens, array));
            }
        }
        call.setUpStart = tokens[first].offset;
        call.readStart = call.setUpStart;
        if (!OnlySetUp(tokens, first, context, std::span<const std::string_view>(names, count)))
            call.rewriteProblem = kOtherCode;
    }

    std::string_view text_;
    std::vector<Token> block_;
    std::size_t counted_ = 0, line_ = 1;
};

}  // namespace

std::size_t ColumnOf(std::string_view text, std::size_t offset) {
    const std::size_t nl = offset == 0 ? std::string_view::npos : text.rfind('\n', offset - 1);
    const std::size_t start = nl == std::string_view::npos ? 0 : nl + 1;
    std::size_t column = 1;
    for (std::size_t k = start; k < offset; ++k)
        if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80) ++column;
    return column;
}

std::size_t LineStartOffset(std::string_view text, std::size_t line) {
    std::size_t at = 0;
    for (std::size_t l = 1; l < line; ++l) {
        const void* nl = std::memchr(text.data() + at, '\n', text.size() - at);
        if (nl == nullptr) return text.size();
        at = static_cast<std::size_t>(static_cast<const char*>(nl) - text.data()) + 1;
    }
    return at;
}

// Hands `take` every call whose name starts in [from, to): only the names
// are looked for, and each call is lexed from its statement's start (a
// structure form from its top-level block's), the rest passed over by the
// light scan.
template <typename Take>
void ForEachCall(std::string_view text, std::size_t from, std::size_t to, Take&& take) {
    TopLevelScan scan(text);
    Finder finder(text);
    std::size_t nextBox = text.find("MessageBox", from), nextTask = text.find("TaskDialog", from);
    while (from < to) {
        if (nextBox < from) nextBox = text.find("MessageBox", from);
        if (nextTask < from) nextTask = text.find("TaskDialog", from);
        const std::size_t candidate = std::min(nextBox, nextTask);
        if (candidate >= to) break;
        from = candidate + 1;
        const std::size_t topLevel = scan.Advance(candidate);
        if (!scan.InCode(candidate) || (candidate > 0 && IsWordByte(text[candidate - 1]))) continue;
        const bool indirect = text.compare(candidate + 10, 8, "Indirect") == 0;
        finder.RunCall(indirect ? topLevel : scan.LastBoundary(), candidate, take);
    }
}

std::vector<FoundCall> FindCalls(std::string_view text) {
    std::vector<FoundCall> calls;
    ForEachCall(text, 0, text.size(), [&](FoundCall&& call) { calls.push_back(std::move(call)); });
    return calls;
}

std::optional<FoundCall> FindCallAt(std::string_view text, std::size_t line, std::size_t column) {
    if (line == 0) return std::nullopt;
    const std::size_t lineStart = LineStartOffset(text, line);
    std::size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    std::size_t pos = lineStart;
    if (column > 0) {
        // The column's character; past the line's end, its end.
        std::size_t seen = 1;
        while (pos < lineEnd && seen < column) {
            ++pos;
            while (pos < lineEnd && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) ++pos;
            ++seen;
        }
    }
    std::optional<FoundCall> found;
    std::optional<FoundCall> spanning;  // without a column: a call over several lines
    // A call's name stands within this reach of any place its text holds
    // (a set-up of more than this is not looked for).
    constexpr std::size_t kReach = 64 * 1024;
    const std::size_t from = lineStart > kReach ? lineStart - kReach : 0;
    const std::size_t to = std::min(text.size(), lineEnd + kReach);
    ForEachCall(text, from, to, [&](FoundCall&& call) {
        if (column > 0) {
            if (call.replaceStart() <= pos && pos <= call.replaceEnd() &&
                (!found || call.replaceEnd() - call.replaceStart() < found->replaceEnd() - found->replaceStart()))
                found = std::move(call);
        } else if (!found) {
            if (call.nameStart >= lineStart && call.nameStart <= lineEnd)
                found = std::move(call);
            else if (!spanning && call.replaceStart() <= lineEnd && call.replaceEnd() > lineStart)
                spanning = std::move(call);
        }
    });
    return found ? found : spanning;
}

}  // namespace pw
