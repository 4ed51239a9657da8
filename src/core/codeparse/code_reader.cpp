#include "core/codeparse/code_reader.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "core/codeparse/style_reader.h"
#include "core/model/clear_form.h"
#include "core/model/option_tables.h"
#include "core/model/utf8.h"
#include "res/resource.h"

namespace pw {
namespace {

constexpr std::string_view kStructureName = "MSGBOXPARAMS";
constexpr std::string_view kWideStructureName = "MSGBOXPARAMSW";
constexpr std::string_view kCallName = "MessageBox";
constexpr std::string_view kIndirectName = "MessageBoxIndirect";

// The call forms by their first characters, tried in this order. The plain
// names are matched as they always were (the character after the name, the
// opening parenthesis, is not examined); the W names need their parenthesis.
struct CallForm {
    std::string_view name;
    bool ex, wide;
};
constexpr CallForm kCallForms[] = {
    {"MessageBoxExW(", true, true},
    {"MessageBoxEx", true, false},
    {"MessageBoxW(", false, true},
    {"MessageBox", false, false},
};

// The answer wrappers, as normalisation leaves them.
constexpr std::string_view kIfHead = "if(";
constexpr std::string_view kSwitchHead = "switch(";

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The position of the next `c` at or after `from`, or the size of the text.
std::size_t NextOf(std::string_view text, std::size_t from, char c) {
    const std::size_t at = text.find(c, from);
    return at == std::string_view::npos ? text.size() : at;
}

// Appends `c`; a line feed gets the carriage return in front of it that edit
// boxes need, unless it already has one.
void AppendForEditBox(std::string& out, char c) {
    if (c == '\n' && (out.empty() || out.back() != '\r')) out.push_back('\r');
    out.push_back(c);
}

void AppendForEditBox(std::string& out, std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t lf = NextOf(text, i, '\n');
        out.append(text, i, lf - i);
        if (lf == text.size()) break;
        AppendForEditBox(out, '\n');
        i = lf + 1;
    }
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

int HexValue(char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; }

bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }

bool IsScalarValue(char32_t codePoint) { return codePoint <= 0x10FFFF && !IsSurrogate(codePoint); }

// At a backslash: an escape that stands for a character outside ASCII, read
// as C reads it and appended as UTF-8:
//  - a universal character name (\u00E9, \U0001F600; U+00A0 and up, no
//    surrogate, at most U+10FFFF);
//  - a three-digit octal escape \200-\377 (the writer's for U+0080-U+009F);
//  - a \x escape, all the hex digits that follow, of 0x80 and up that is a
//    Unicode scalar value.
// Returns the characters it stands for in `text`, or 0 (nothing appended): an
// escape of an ASCII value, or anything else, is kept as typed.
std::size_t AppendNamedCharacter(std::string& out, std::string_view text, std::size_t backslash) {
    const std::string_view escape = text.substr(backslash);
    if (escape.size() < 2) return 0;
    char32_t codePoint = 0;
    std::size_t length = 0;
    const char kind = escape[1];
    if (kind == 'u' || kind == 'U') {
        length = kind == 'u' ? 6 : 10;
        if (escape.size() < length) return 0;
        for (std::size_t k = 2; k < length; ++k) {
            if (!IsHexDigit(escape[k])) return 0;
            codePoint = codePoint * 16 + static_cast<char32_t>(HexValue(escape[k]));
        }
        if (codePoint < 0xA0) return 0;
    } else if (kind == 'x') {
        length = 2;
        for (; length < escape.size() && IsHexDigit(escape[length]); ++length) {
            // Past U+10FFFF it is no character whatever follows; stop growing
            // the value but take the digits, as C does.
            if (codePoint <= 0x10FFFF) codePoint = codePoint * 16 + static_cast<char32_t>(HexValue(escape[length]));
        }
        if (codePoint < 0x80) return 0;
    } else if ((kind == '2' || kind == '3') && escape.size() >= 4 && IsOctalDigit(escape[2]) &&
               IsOctalDigit(escape[3])) {
        length = 4;
        codePoint = static_cast<char32_t>((kind - '0') * 64 + (escape[2] - '0') * 8 + (escape[3] - '0'));
    } else {
        return 0;
    }
    if (!IsScalarValue(codePoint)) return 0;
    AppendUtf8(out, codePoint);
    return length;
}

// Unescapes `text` onto `out`, line feeds expanded for the edit boxes as they
// come, so that a long value is walked and copied once. With `named`, the
// escapes of characters outside ASCII in a TEXT() or wide literal are read too.
void AppendUnescaped(std::string& out, std::string_view text, bool forEditBox, bool named) {
    auto append = [&](char c) { forEditBox ? AppendForEditBox(out, c) : out.push_back(c); };
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t backslash = NextOf(text, i, '\\');
        if (forEditBox)
            AppendForEditBox(out, text.substr(i, backslash - i));
        else
            out.append(text, i, backslash - i);
        if (backslash + 1 >= text.size()) {
            // A trailing backslash is kept.
            if (backslash < text.size()) out.push_back('\\');
            break;
        }
        if (named) {
            if (const std::size_t length = AppendNamedCharacter(out, text, backslash)) {
                i = backslash + length;
                continue;
            }
        }
        const char next = text[backslash + 1];
        switch (next) {
        case 'n': append('\n'); break;
        case 'r': append('\r'); break;
        case 't': append('\t'); break;
        case '"': append('"'); break;
        case '\'': append('\''); break;
        default:
            // The writer does not double backslashes; what it passed through
            // comes back as typed.
            out.push_back('\\');
            append(next);
            break;
        }
        i = backslash + 2;
    }
}

// Removes comments, then white space, both outside literals, in place: the
// text only ever shrinks, so writing never overtakes reading. Returns the new
// length. One pass does what two would: `previous` is the last character the
// comment step would have kept (white space included), which is what decides
// whether a double quote is escaped.
std::size_t NormaliseInPlace(char* data, std::size_t size) {
    const std::string_view text(data, size);
    std::size_t w = 0;
    bool inLiteral = false;
    char previous = '\0';
    std::size_t i = 0;
    while (i < size) {
        if (inLiteral) {
            // Up to the next double quote in one move.
            const std::size_t quote = NextOf(text, i, '"');
            if (quote > i) {
                previous = data[quote - 1];
                std::memmove(data + w, data + i, quote - i);
                w += quote - i;
            }
            if (quote == size) break;
            if (previous != '\\') inLiteral = false;
            data[w++] = '"';
            previous = '"';
            i = quote + 1;
            continue;
        }
        const char c = data[i];
        if (c == '/' && i + 1 < size && (data[i + 1] == '/' || data[i + 1] == '*')) {
            if (data[i + 1] == '/') {
                // The line break that ends the comment stays: it separates tokens.
                i = std::min(text.find_first_of("\r\n", i + 2), size);
            } else {
                const std::size_t close = text.find("*/", i + 2);
                i = close == std::string_view::npos ? size : close + 2;
            }
            continue;
        }
        if (c == '"' && previous != '\\') inLiteral = true;
        if (!IsWhiteSpace(c)) data[w++] = c;
        previous = c;
        ++i;
    }
    return w;
}

// How a literal title or text is written: "...", L"..." (W forms only),
// TEXT("..."), _T("...") or _TEXT("...").
struct LiteralShape {
    std::size_t quote;  // the opening quote's offset in the value
    bool paren;         // a closing parenthesis follows the closing quote
    bool marked;        // TEXT, _T, _TEXT or L: universal character names are read
    bool textMacro;     // TEXT, _T or _TEXT
};

std::optional<LiteralShape> ShapeOf(std::string_view value, bool wide) {
    if (value.starts_with('"')) return LiteralShape{0, false, false, false};
    if (wide && value.starts_with("L\"")) return LiteralShape{1, false, true, false};
    for (std::string_view macro : {"TEXT(\"", "_TEXT(\"", "_T(\""})
        if (value.starts_with(macro)) return LiteralShape{macro.size() - 1, true, true, true};
    return std::nullopt;
}

// The first `delimiter` after a literal value that starts at `start`: the one
// right after a closing quote (and parenthesis) that no backslash escapes. The
// opening quote is never the closing one, so a text that starts with the
// delimiter survives.
std::size_t LiteralValueEnd(std::string_view text, std::size_t start, const LiteralShape& shape, char delimiter) {
    const std::size_t paren = shape.paren ? 1 : 0;
    const std::size_t open = start + shape.quote;
    for (std::size_t k = NextOf(text, open + 2 + paren, delimiter); k < text.size(); k = NextOf(text, k + 1, delimiter))
        if ((paren == 0 || text[k - 1] == ')') && text[k - 1 - paren] == '"' && text[k - 2 - paren] != '\\') return k;
    return std::string_view::npos;
}

// Picks arguments out of the normalised text one after another. Once a
// delimiter is missing, the last argument runs to the end of the text and no
// further argument exists.
class ArgumentScanner {
public:
    ArgumentScanner(std::string_view text, std::size_t start) : text_(text), pos_(start) {}

    std::optional<std::string_view> Until(char delimiter) {
        if (pos_ > text_.size()) return std::nullopt;
        return Take(text_.find(delimiter, pos_));
    }

    // A title or text: a literal one may hold the delimiter.
    std::optional<std::string_view> Argument(char delimiter, bool wide) {
        if (pos_ < text_.size())
            if (auto shape = ShapeOf(text_.substr(pos_), wide))
                return Take(LiteralValueEnd(text_, pos_, *shape, delimiter));
        return Until(delimiter);
    }

private:
    std::string_view Take(std::size_t end) {
        if (end == std::string_view::npos) end = text_.size();
        const std::string_view value = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        return value;
    }

    std::string_view text_;
    std::size_t pos_;
};

// What one statement's reading shares: the form, whether the call is a W
// one, and whether a TEXT() literal was met.
struct Reading {
    Form& form;
    bool wide = false;
    bool textMacro = false;
};

// A literal value loses its quotes (and mark) and escapes; anything else is an
// expression and is kept exactly as written.
void SetTextValue(Reading& reading, int textId, int variableId, std::string_view value) {
    std::string text;
    text.reserve(value.size() + 16);
    if (const auto shape = ShapeOf(value, reading.wide)) {
        const std::size_t paren = shape->paren ? 1 : 0;
        std::string_view inner = value.substr(shape->quote + 1);
        const std::size_t close = value.size() - 1 - paren;  // where the closing quote belongs
        const bool closed = value.size() >= shape->quote + 2 + paren && (paren == 0 || value.back() == ')') &&
                            value[close] == '"' && value[close - 1] != '\\';
        if (closed) inner.remove_suffix(1 + paren);
        AppendUnescaped(text, inner, true, shape->marked);
        reading.textMacro = reading.textMacro || shape->textMacro;
    } else {
        reading.form.SetChecked(variableId, true);
        AppendForEditBox(text, value);
    }
    reading.form.SetText(textId, text);
}

int FindLanguageRow(std::string_view chars) {
    if (chars.empty()) return -1;
    for (int row = 0; row < kLanguageCount; ++row)
        if (chars.find(kLanguages[static_cast<std::size_t>(row)].id) != std::string_view::npos) return row;
    return -1;
}

// `text` starts with "MessageBox".
void ReadCall(std::string_view text, Reading& reading) {
    Form& form = reading.form;
    const CallForm& call = *std::find_if(std::begin(kCallForms), std::end(kCallForms),
                                         [&](const CallForm& c) { return text.starts_with(c.name); });
    reading.wide = call.wide;
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, call.ex ? IDC_TYPE_BOXEX : IDC_TYPE_BOX);

    // Arguments start after the name and its opening parenthesis.
    ArgumentScanner scan(text, call.name.size() + (call.name.ends_with('(') ? 0 : 1));
    if (auto owner = scan.Until(',')) form.SetText(IDC_PARENT, *owner);
    if (auto value = scan.Argument(',', call.wide)) SetTextValue(reading, IDC_TEXT, IDC_TEXTVAR, *value);
    if (auto value = scan.Argument(',', call.wide)) SetTextValue(reading, IDC_TITLE, IDC_TITLEVAR, *value);
    if (auto style = scan.Until(call.ex ? ',' : ')')) ReadStyleExpression(*style, form);
    // A plain MessageBox call names no language: the list keeps its Clear position.
    if (!call.ex) return;
    if (auto language = scan.Until(')')) form.SetListPosition(IDC_LANGUAGE, FindLanguageRow(*language));
}

void ApplyMember(std::string_view name, std::string_view value, Reading& reading) {
    Form& form = reading.form;
    if (name == "hwndOwner")
        form.SetText(IDC_PARENT, value);
    else if (name == "lpszText")
        SetTextValue(reading, IDC_TEXT, IDC_TEXTVAR, value);
    else if (name == "lpszCaption")
        SetTextValue(reading, IDC_TITLE, IDC_TITLEVAR, value);
    else if (name == "dwStyle")
        ReadStyleExpression(value, form);
    else if (name == "dwLanguageId")
        form.SetListPosition(IDC_LANGUAGE, FindLanguageRow(value));
}

// The MessageBoxIndirect call of a structure statement, at the start of one
// of its statements: plain, or as the head of an answer wrapper.
struct IndirectCall {
    bool wide;
    AnswerHandling answer;
};

std::optional<IndirectCall> IndirectCallAt(std::string_view text) {
    AnswerHandling answer = AnswerHandling::None;
    if (text.starts_with(kIfHead)) {
        answer = AnswerHandling::If;
        text.remove_prefix(kIfHead.size());
    } else if (text.starts_with(kSwitchHead)) {
        answer = AnswerHandling::Switch;
        text.remove_prefix(kSwitchHead.size());
    }
    if (!text.starts_with(kIndirectName)) return std::nullopt;
    return IndirectCall{text.substr(kIndirectName.size()).starts_with("W("), answer};
}

struct StructureScan {
    std::vector<std::pair<std::string_view, std::string_view>> members;  // name, value, in order
    std::optional<IndirectCall> call;                                    // the first one
};

// Member assignments "name.member=value;", up to a wrapped call (the code in
// its braces is the user's). The declaration's own name and a plain call hold
// no "=" and so are passed over. `wide` tells whether L"..." values are literals,
// which may hold a semicolon.
StructureScan ScanStructure(std::string_view text, bool wide) {
    StructureScan scan;
    std::size_t i = kStructureName.size() + 1;
    std::size_t nameStart = i;
    while (i < text.size()) {
        if (text[i - 1] == ';') {
            if (const auto call = IndirectCallAt(text.substr(i))) {
                if (!scan.call) scan.call = call;
                if (call->answer != AnswerHandling::None) break;
            }
        }
        if (text[i - 1] == '.') nameStart = i;
        if (i + 1 >= text.size() || text[i + 1] != '=') {
            ++i;
            continue;
        }
        const std::string_view name = text.substr(nameStart, i + 1 - nameStart);
        const std::size_t valueStart = i + 2;
        std::optional<LiteralShape> shape;
        if (name == "lpszText" || name == "lpszCaption") shape = ShapeOf(text.substr(valueStart), wide);
        std::size_t end = shape ? LiteralValueEnd(text, valueStart, *shape, ';') : text.find(';', valueStart);
        if (end == std::string_view::npos) end = text.size();
        scan.members.emplace_back(name, text.substr(valueStart, end - valueStart));
        i = end + 1;
        nameStart = i;
    }
    return scan;
}

// The structure scan with the string mark decided as ReadStructure says.
StructureScan ScanStructureOf(std::string_view text, bool& wide) {
    const bool declaredWide = text.starts_with(kWideStructureName);
    StructureScan scan = ScanStructure(text, declaredWide);
    if (scan.call && scan.call->wide != declaredWide) scan = ScanStructure(text, scan.call->wide);
    wide = scan.call ? scan.call->wide : declaredWide;
    return scan;
}

// The string mark follows the function, MessageBoxIndirectW; without a call,
// the declaration MSGBOXPARAMSW. The declaration is the first guess (the
// writer's statements always agree with it); when the call says otherwise,
// the statement is scanned again with the call's rules.
AnswerHandling ReadStructure(std::string_view text, Reading& reading) {
    reading.form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_INDIRECT);
    const StructureScan scan = ScanStructureOf(text, reading.wide);
    for (const auto& [name, value] : scan.members) ApplyMember(name, value, reading);
    return scan.call ? scan.call->answer : AnswerHandling::None;
}

}  // namespace

std::string UnescapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendUnescaped(out, text, false, false);
    return out;
}

std::string UnescapeMarkedLiteral(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    AppendUnescaped(out, text, true, true);
    return out;
}

std::string NormaliseStatement(std::string_view text) {
    std::string out(text);
    out.resize(NormaliseInPlace(out.data(), out.size()));
    return out;
}

bool LoadCode(Form& form, std::string& text, CodeReaderReport& report, CodeOptions* optionsRead) {
    ClearForm(form);
    text.resize(NormaliseInPlace(text.data(), text.size()));
    std::string_view statement = text;
    // A call form may stand in an answer wrapper; the structure form's
    // wrapper is around its last statement.
    AnswerHandling answer = AnswerHandling::None;
    for (auto [head, handling] :
         {std::pair{kIfHead, AnswerHandling::If}, std::pair{kSwitchHead, AnswerHandling::Switch}})
        if (statement.starts_with(head) && statement.substr(head.size()).starts_with(kCallName)) {
            statement.remove_prefix(head.size());
            answer = handling;
            break;
        }
    Reading reading{form};
    if (answer == AnswerHandling::None && statement.starts_with(kStructureName)) {
        answer = ReadStructure(statement, reading);
    } else if (statement.starts_with(kCallName)) {
        ReadCall(statement, reading);
    } else {
        report.Unrecognised();
        return false;
    }
    if (optionsRead) {
        optionsRead->characterSet = reading.wide        ? CharacterSet::Wide
                                    : reading.textMacro ? CharacterSet::Text
                                                        : CharacterSet::Ansi;
        optionsRead->answer = answer;
    }
    return true;
}

ParamsOptions ReadParamsOptions(std::string_view text) {
    ParamsOptions params;
    if (!text.starts_with(kStructureName)) return params;
    bool wide = false;
    const StructureScan scan = ScanStructureOf(text, wide);
    // "MSGBOXPARAMSWWnd;" names Wnd in the wide form, WWnd in the narrow one.
    // A W call after a narrow declaration ("MSGBOXPARAMS;...W(") names none.
    std::string_view declaration = text.substr(0, text.find(';'));
    declaration.remove_prefix(std::min(declaration.size(), wide ? kWideStructureName.size() : kStructureName.size()));
    params.structName = declaration;
    for (const auto& [name, value] : scan.members) {
        if (name == "lpszIcon") {
            params.iconId = value;
            for (std::string_view macro : {"MAKEINTRESOURCEW(", "MAKEINTRESOURCEA(", "MAKEINTRESOURCE("})
                if (value.starts_with(macro) && value.ends_with(')')) {
                    params.iconId = value.substr(macro.size(), value.size() - macro.size() - 1);
                    break;
                }
        } else if (name == "dwContextHelpId") {
            params.contextHelpId = value;
        } else if (name == "lpfnMsgBoxCallback") {
            params.callbackName = value;
        }
    }
    return params;
}

}  // namespace pw
