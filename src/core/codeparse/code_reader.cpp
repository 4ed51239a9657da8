#include "core/codeparse/code_reader.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "core/codeparse/style_reader.h"
#include "core/model/clear_form.h"
#include "core/model/option_tables.h"
#include "res/resource.h"

namespace pw {
namespace {

constexpr std::string_view kStructureName = "MSGBOXPARAMS";
constexpr std::string_view kCallName = "MessageBox";
constexpr std::string_view kCallExName = "MessageBoxEx";

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

// Unescapes `text` onto `out`, line feeds expanded for the edit boxes as they
// come, so that a long value is walked and copied once.
void AppendUnescaped(std::string& out, std::string_view text, bool forEditBox) {
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

// The first `delimiter` after a quoted value that starts at `open`: the one
// right after a closing quote that no backslash escapes. The opening quote is
// never the closing one, so a text that starts with the delimiter survives.
std::size_t QuotedValueEnd(std::string_view text, std::size_t open, char delimiter) {
    for (std::size_t k = NextOf(text, open + 2, delimiter); k < text.size(); k = NextOf(text, k + 1, delimiter))
        if (text[k - 1] == '"' && text[k - 2] != '\\') return k;
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

    // A title or text: a quoted one may hold the delimiter.
    std::optional<std::string_view> Argument(char delimiter) {
        if (pos_ < text_.size() && text_[pos_] == '"') return Take(QuotedValueEnd(text_, pos_, delimiter));
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

// A quoted value loses its quotes and escapes; anything else is an expression
// and is kept exactly as written.
void SetTextValue(Form& form, int textId, int variableId, std::string_view value) {
    std::string text;
    text.reserve(value.size() + 16);
    if (!value.empty() && value.front() == '"') {
        std::string_view inner = value.substr(1);
        const bool closed = value.size() >= 2 && value.back() == '"' && value[value.size() - 2] != '\\';
        if (closed) inner.remove_suffix(1);
        AppendUnescaped(text, inner, true);
    } else {
        form.SetChecked(variableId, true);
        AppendForEditBox(text, value);
    }
    form.SetText(textId, text);
}

int FindLanguageRow(std::string_view chars) {
    if (chars.empty()) return -1;
    for (int row = 0; row < kLanguageCount; ++row)
        if (chars.find(kLanguages[static_cast<std::size_t>(row)].id) != std::string_view::npos) return row;
    return -1;
}

void ReadCall(std::string_view text, Form& form) {
    const bool ex = text.starts_with(kCallExName);
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, ex ? IDC_TYPE_BOXEX : IDC_TYPE_BOX);

    // Arguments start after the name and its opening parenthesis.
    ArgumentScanner scan(text, (ex ? kCallExName : kCallName).size() + 1);
    if (auto owner = scan.Until(',')) form.SetText(IDC_PARENT, *owner);
    if (auto value = scan.Argument(',')) SetTextValue(form, IDC_TEXT, IDC_TEXTVAR, *value);
    if (auto value = scan.Argument(',')) SetTextValue(form, IDC_TITLE, IDC_TITLEVAR, *value);
    if (auto style = scan.Until(ex ? ',' : ')')) ReadStyleExpression(*style, form);
    // A plain MessageBox call names no language: the list keeps its Clear position.
    if (!ex) return;
    if (auto language = scan.Until(')')) form.SetListPosition(IDC_LANGUAGE, FindLanguageRow(*language));
}

void ApplyMember(std::string_view name, std::string_view value, Form& form) {
    if (name == "hwndOwner")
        form.SetText(IDC_PARENT, value);
    else if (name == "lpszText")
        SetTextValue(form, IDC_TEXT, IDC_TEXTVAR, value);
    else if (name == "lpszCaption")
        SetTextValue(form, IDC_TITLE, IDC_TITLEVAR, value);
    else if (name == "dwStyle")
        ReadStyleExpression(value, form);
    else if (name == "dwLanguageId")
        form.SetListPosition(IDC_LANGUAGE, FindLanguageRow(value));
}

// Member assignments "name.member=value;". The declaration's own name and the
// final call hold no "=" and so are passed over.
void ReadStructure(std::string_view text, Form& form) {
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_INDIRECT);

    std::size_t i = kStructureName.size() + 1;
    std::size_t nameStart = i;
    while (i < text.size()) {
        if (text[i - 1] == '.') nameStart = i;
        if (i + 1 >= text.size() || text[i + 1] != '=') {
            ++i;
            continue;
        }
        const std::string_view name = text.substr(nameStart, i + 1 - nameStart);
        const std::size_t valueStart = i + 2;
        const bool quotedText = (name == "lpszText" || name == "lpszCaption") &&
                                valueStart < text.size() && text[valueStart] == '"';
        std::size_t end = quotedText ? QuotedValueEnd(text, valueStart, ';') : text.find(';', valueStart);
        if (end == std::string_view::npos) end = text.size();
        ApplyMember(name, text.substr(valueStart, end - valueStart), form);
        i = end + 1;
        nameStart = i;
    }
}

}  // namespace

std::string UnescapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendUnescaped(out, text, false);
    return out;
}

std::string NormaliseStatement(std::string_view text) {
    std::string out(text);
    out.resize(NormaliseInPlace(out.data(), out.size()));
    return out;
}

bool LoadCode(Form& form, std::string& text, CodeReaderReport& report) {
    ClearForm(form);
    text.resize(NormaliseInPlace(text.data(), text.size()));
    const std::string_view statement = text;
    if (statement.starts_with(kStructureName)) {
        ReadStructure(statement, form);
    } else if (statement.starts_with(kCallName)) {
        ReadCall(statement, form);
    } else {
        report.Unrecognised();
        return false;
    }
    return true;
}

}  // namespace pw
