#include "core/codegen/statement_writer.h"

#include <array>
#include <cstddef>
#include <span>

#include "core/codegen/style_expression.h"
#include "core/model/option_tables.h"
#include "core/model/utf8.h"
#include "res/resource.h"

namespace pw {
namespace {

// The characters the escaping rewrites; every other byte passes unchanged.
// The second table adds the bytes of characters outside ASCII, which TEXT()
// and wide literals spell as universal character names.
constexpr std::array<bool, 256> kRewritten = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : {'\r', '\n', '\t', '"', '\''}) table[c] = true;
    return table;
}();

constexpr std::array<bool, 256> kRewrittenOrHigh = [] {
    std::array<bool, 256> table = kRewritten;
    for (std::size_t c = 0x80; c < 256; ++c) table[c] = true;
    return table;
}();

// One character by its code point, in a spelling that holds in narrow and
// wide literals alike (see EscapeLiteral in the header).
void AppendCharacterName(std::string& out, char32_t codePoint) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    if (codePoint < 0xA0) {
        out += '\\';
        out += static_cast<char>('0' + ((codePoint >> 6) & 7));
        out += static_cast<char>('0' + ((codePoint >> 3) & 7));
        out += static_cast<char>('0' + (codePoint & 7));
        return;
    }
    if (codePoint > 0x10FFFF || IsSurrogate(codePoint)) codePoint = kReplacementCharacter;
    const int digits = codePoint > 0xFFFF ? 8 : 4;
    out += digits == 8 ? "\\U" : "\\u";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kHex[(codePoint >> shift) & 0xF];
}

// `named` false: ANSI, bytes outside ASCII pass as they are (UTF-8; the shell
// converts to the code page where a file needs it). True: TEXT() and wide
// literals, which name each character outside ASCII.
void AppendEscaped(std::string& out, std::string_view text, bool named) {
    const std::array<bool, 256>& rewritten = named ? kRewrittenOrHigh : kRewritten;
    std::size_t i = 0;
    while (i < text.size()) {
        // Copy the run of characters that pass unchanged in one piece.
        std::size_t end = i;
        while (end < text.size() && !rewritten[static_cast<unsigned char>(text[end])]) ++end;
        out.append(text, i, end - i);
        if (end == text.size()) return;
        i = end;
        if (static_cast<unsigned char>(text[i]) >= 0x80) {
            AppendCharacterName(out, NextCodePoint(text, i));
            continue;
        }
        switch (text[i]) {
        case '\r':
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;  // CR LF is one line break
            out += "\\n";
            break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '"': out += "\\\""; break;
        default: out += "\\'"; break;  // the apostrophe
        }
        ++i;
    }
}

// The names that differ between the character sets.
struct CallNames {
    std::string_view box, boxEx, indirect, params, makeIntResource;
};
constexpr CallNames kNames{"MessageBox", "MessageBoxEx", "MessageBoxIndirect", "MSGBOXPARAMS", "MAKEINTRESOURCE"};
constexpr CallNames kWideNames{"MessageBoxW", "MessageBoxExW", "MessageBoxIndirectW", "MSGBOXPARAMSW",
                               "MAKEINTRESOURCEW"};

// The answers of each button set, by the set's MB_ value, in button order.
constexpr std::string_view kOk[] = {"IDOK"};
constexpr std::string_view kOkCancel[] = {"IDOK", "IDCANCEL"};
constexpr std::string_view kAbortRetryIgnore[] = {"IDABORT", "IDRETRY", "IDIGNORE"};
constexpr std::string_view kYesNoCancel[] = {"IDYES", "IDNO", "IDCANCEL"};
constexpr std::string_view kYesNo[] = {"IDYES", "IDNO"};
constexpr std::string_view kRetryCancel[] = {"IDRETRY", "IDCANCEL"};
constexpr std::string_view kCancelTryContinue[] = {"IDCANCEL", "IDTRYAGAIN", "IDCONTINUE"};
constexpr std::array<std::span<const std::string_view>, 7> kAnswers{
    kOk, kOkCancel, kAbortRetryIgnore, kYesNoCancel, kYesNo, kRetryCancel, kCancelTryContinue};

std::span<const std::string_view> AnswersOf(const Form& form) {
    const int position = form.ListPosition(IDC_BUTTONS);
    if (position < 0 || position >= static_cast<int>(kButtonSets.size())) return kOk;
    const std::uint32_t set = kButtonSets[static_cast<std::size_t>(position)].value;
    return set < kAnswers.size() ? kAnswers[set] : kOk;
}

std::string_view LanguageId(const Form& form) {
    const int position = form.ListPosition(IDC_LANGUAGE);
    const int row = position >= 0 && position < kLanguageCount ? position : kClearLanguage;
    return kLanguages[static_cast<std::size_t>(row)].id;
}

// Writes one statement onto `out` in the chosen options.
class StatementBuilder {
public:
    StatementBuilder(std::string& out, const Form& form, CodeOptions options)
        : out_(out), characterSet_(options.characterSet),
          names_(options.characterSet == CharacterSet::Wide ? kWideNames : kNames), answers_(AnswersOf(form)),
          // With one answer or none there is nothing to decide.
          answer_(answers_.size() > 1 ? options.answer : AnswerHandling::None) {}

    const CallNames& names() const { return names_; }

    // Room the wrapping and the names take beyond the plain statement.
    std::size_t Extra() const { return 40 + answers_.size() * 24; }

    // A title or text value: a variable as typed, a literal quoted and escaped.
    void Value(const std::string& text, bool isVariable) {
        if (isVariable) {
            out_ += text;
            return;
        }
        switch (characterSet_) {
        case CharacterSet::Ansi:
            out_ += '"';
            AppendEscaped(out_, text, false);
            out_ += '"';
            break;
        case CharacterSet::Text:
            out_ += "TEXT(\"";
            AppendEscaped(out_, text, true);
            out_ += "\")";
            break;
        case CharacterSet::Wide:
            out_ += "L\"";
            AppendEscaped(out_, text, true);
            out_ += '"';
            break;
        }
    }

    // Around the call expression: the wrapper's head, and its tail with the
    // statement's end.
    void BeginCall() {
        if (answer_ == AnswerHandling::If) out_ += "if (";
        if (answer_ == AnswerHandling::Switch) out_ += "switch (";
    }

    void EndCall() {
        switch (answer_) {
        case AnswerHandling::None: out_ += ';'; break;
        case AnswerHandling::If:
            out_ += " == ";
            out_ += answers_.front();
            out_ += ")\n{\n}";
            break;
        case AnswerHandling::Switch:
            out_ += ")\n{\n";
            for (std::string_view answer : answers_) {
                out_ += "case ";
                out_ += answer;
                out_ += ":\n    break;\n";
            }
            out_ += '}';
            break;
        }
    }

private:
    std::string& out_;
    CharacterSet characterSet_;
    const CallNames& names_;
    std::span<const std::string_view> answers_;
    AnswerHandling answer_;
};

// Room for a literal's escapes: a quarter more for the ANSI escapes, up to ten
// bytes (\UXXXXXXXX) for a byte outside ASCII; the estimate only saves regrowth.
std::size_t LiteralRoom(std::size_t size) { return size + size / 4; }

// What every call form writes from the form.
struct CallTexts {
    std::string owner, text, title, style;
};

CallTexts ReadCallTexts(const Form& form) {
    return {form.Text(IDC_PARENT), form.Text(IDC_TEXT), form.Text(IDC_TITLE), BuildStyleExpression(form)};
}

// MessageBox(owner, text, title, style); or MessageBoxEx(..., style, language);
std::string WriteCall(const Form& form, bool ex, CodeOptions options) {
    const auto [owner, text, title, style] = ReadCallTexts(form);

    std::string out;
    StatementBuilder write(out, form, options);
    out.reserve(32 + write.Extra() + owner.size() + LiteralRoom(text.size() + title.size()) + style.size());
    write.BeginCall();
    out += ex ? write.names().boxEx : write.names().box;
    out += '(';
    out += owner;
    out += ", ";
    write.Value(text, form.IsChecked(IDC_TEXTVAR));
    out += ", ";
    write.Value(title, form.IsChecked(IDC_TITLEVAR));
    out += ", ";
    out += style;
    if (ex) {
        out += ", ";
        out += LanguageId(form);
    }
    out += ')';
    write.EndCall();
    return out;
}

std::string WriteIndirect(const Form& form, ParamsPrompt& prompt, CodeOptions options) {
    const ParamsOptions params = prompt.Run();
    const std::string& n = params.structName;
    const bool userIcon = form.ListPosition(IDC_ICON) == kUserIconPosition;
    const bool help = form.IsChecked(IDC_HELPBUTTON);
    const auto [owner, text, title, style] = ReadCallTexts(form);

    std::string out;
    StatementBuilder write(out, form, options);
    const CallNames& names = write.names();
    out.reserve(420 + write.Extra() + 12 * n.size() + owner.size() + LiteralRoom(text.size() + title.size()) +
                style.size() + params.iconId.size() + params.instance.size() + params.callbackName.size() + params.contextHelpId.size());

    // One member line: N.member= value;
    auto member = [&](std::string_view name, auto&&... value) {
        out += n;
        out += '.';
        out += name;
        out += "= ";
        (out += ... += value);
        out += ";\n";
    };

    out += names.params;
    out += ' ';
    out += n;
    out += ";\n";
    member("cbSize", "sizeof(", names.params, ")");
    member("hwndOwner", owner);
    // A read statement's own instance is kept even without the user icon.
    if (userIcon || !params.instance.empty())
        member("hInstance", params.instance.empty() ? std::string_view("GetModuleHandle(NULL)") : params.instance);
    out += n;
    out += ".lpszText= ";
    write.Value(text, form.IsChecked(IDC_TEXTVAR));
    out += ";\n";
    out += n;
    out += ".lpszCaption= ";
    write.Value(title, form.IsChecked(IDC_TITLEVAR));
    out += ";\n";
    member("dwStyle", style);
    // A style term the form cannot see (a variable, a macro) may hold
    // MB_USERICON or MB_HELP: then the options that go with them are kept.
    const bool unseenStyle = !form.Text(IDC_OTHERSTYLE).empty();
    if (userIcon || (unseenStyle && !params.iconId.empty()))
        member("lpszIcon", names.makeIntResource, "(", params.iconId, ")");
    if (help || (unseenStyle && !params.contextHelpId.empty())) member("dwContextHelpId", params.contextHelpId);
    if (help || (unseenStyle && !params.callbackName.empty())) member("lpfnMsgBoxCallback", params.callbackName);
    member("dwLanguageId", LanguageId(form));
    write.BeginCall();
    out += names.indirect;
    out += "(&";
    out += n;
    out += ')';
    write.EndCall();
    return out;
}

}  // namespace

std::string EscapeLiteral(std::string_view text, CharacterSet characterSet) {
    std::string out;
    out.reserve(text.size() + text.size() / 8 + 16);
    AppendEscaped(out, text, characterSet != CharacterSet::Ansi);
    return out;
}

std::string GenerateStatement(const Form& form, ParamsPrompt& prompt, CodeOptions options) {
    if (form.IsChecked(IDC_TYPE_INDIRECT)) return WriteIndirect(form, prompt, options);
    return WriteCall(form, form.IsChecked(IDC_TYPE_BOXEX), options);
}

namespace {

// The characters of one or more literal texts that a mode cannot hold, each
// once, in text order.
class TextProblems {
public:
    TextProblems(CharacterSet characterSet, const CodePage& codePage)
        : ansi_(characterSet == CharacterSet::Ansi), codePage_(codePage) {}

    void Check(std::string_view text) {
        std::size_t i = 0;
        while (i < text.size()) {
            // ASCII is in every code page: only the other characters are looked up.
            if (static_cast<unsigned char>(text[i]) < 0x80) {
                ++i;
                continue;
            }
            const char32_t codePoint = NextCodePoint(text, i);
            std::u32string* list = nullptr;
            if (IsSurrogate(codePoint)) {
                list = &surrogates_;
            } else if (ansi_) {
                scratch_.clear();
                if (!codePage_.Encode(codePoint, scratch_)) list = &missing_;
            }
            if (list != nullptr && list->find(codePoint) == std::u32string::npos) list->push_back(codePoint);
        }
    }

    // Lone surrogates first: no mode helps there.
    std::string Message() const {
        std::string names;
        if (!surrogates_.empty()) {
            for (char32_t c : surrogates_) names += (names.empty() ? "" : " ") + CodePointName(c);
            return Format(kNoStringMessage, names);
        }
        if (missing_.empty()) return {};
        for (char32_t c : missing_) {
            if (!names.empty()) names += ' ';
            AppendUtf8(names, c);
        }
        return Format(kAnsiStringsMessage, names);
    }

private:
    static std::string Format(std::string_view message, std::string_view names) {
        return std::string(message).replace(message.find("%s"), 2, names);
    }

    bool ansi_;
    const CodePage& codePage_;
    std::u32string surrogates_, missing_;
    std::string scratch_;
};

}  // namespace

std::string LiteralTextProblem(std::string_view text, CharacterSet characterSet, const CodePage& codePage) {
    TextProblems problems(characterSet, codePage);
    problems.Check(text);
    return problems.Message();
}

std::string StatementTextProblem(const Form& form, CodeOptions options, const CodePage& codePage) {
    // Text and title each on its own (a cut character at the end of one does
    // not join the other), their characters named once between them.
    TextProblems problems(options.characterSet, codePage);
    if (!form.IsChecked(IDC_TEXTVAR)) problems.Check(form.Text(IDC_TEXT));
    if (!form.IsChecked(IDC_TITLEVAR)) problems.Check(form.Text(IDC_TITLE));
    return problems.Message();
}

}  // namespace pw
