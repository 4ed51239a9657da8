#include "core/codegen/statement_writer.h"

#include <array>
#include <cstddef>

#include "core/codegen/style_expression.h"
#include "core/model/option_tables.h"
#include "res/resource.h"

namespace pw {
namespace {

// The characters EscapeLiteral rewrites; every other byte passes unchanged.
constexpr std::array<bool, 256> kRewritten = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : {'\r', '\n', '\t', '"', '\''}) table[c] = true;
    return table;
}();

void AppendEscaped(std::string& out, std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        // Copy the run of characters that pass unchanged in one piece.
        std::size_t end = i;
        while (end < text.size() && !kRewritten[static_cast<unsigned char>(text[end])]) ++end;
        out.append(text, i, end - i);
        if (end == text.size()) return;
        i = end;
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

// A title or text value: a variable as typed, a literal quoted and escaped.
void AppendValue(std::string& out, const std::string& text, bool isVariable) {
    if (isVariable) {
        out += text;
        return;
    }
    out += '"';
    AppendEscaped(out, text);
    out += '"';
}

std::string_view LanguageId(const Form& form) {
    const int position = form.ListPosition(IDC_LANGUAGE);
    const int row = position >= 0 && position < kLanguageCount ? position : kClearLanguage;
    return kLanguages[static_cast<std::size_t>(row)].id;
}

// MessageBox(owner, text, title, style); or MessageBoxEx(..., style, language);
std::string WriteCall(const Form& form, bool ex) {
    const std::string owner = form.Text(IDC_PARENT);
    const std::string text = form.Text(IDC_TEXT);
    const std::string title = form.Text(IDC_TITLE);
    const std::string style = BuildStyleExpression(form);

    std::string out;
    out.reserve(32 + owner.size() + text.size() + title.size() + (text.size() + title.size()) / 4 + style.size());
    out += ex ? "MessageBoxEx(" : "MessageBox(";
    out += owner;
    out += ", ";
    AppendValue(out, text, form.IsChecked(IDC_TEXTVAR));
    out += ", ";
    AppendValue(out, title, form.IsChecked(IDC_TITLEVAR));
    out += ", ";
    out += style;
    if (ex) {
        out += ", ";
        out += LanguageId(form);
    }
    out += ");";
    return out;
}

std::string WriteIndirect(const Form& form, ParamsPrompt& prompt) {
    const ParamsOptions options = prompt.Run();
    const std::string& n = options.structName;
    const bool userIcon = form.ListPosition(IDC_ICON) == kUserIconPosition;
    const bool help = form.IsChecked(IDC_HELPBUTTON);
    const std::string owner = form.Text(IDC_PARENT);
    const std::string text = form.Text(IDC_TEXT);
    const std::string title = form.Text(IDC_TITLE);
    const std::string style = BuildStyleExpression(form);

    std::string out;
    const std::size_t texts = text.size() + title.size();
    out.reserve(400 + 12 * n.size() + owner.size() + texts + texts / 4 + style.size() + options.iconId.size() +
                options.callbackName.size() + options.contextHelpId.size());

    // One member line: N.member= value;
    auto member = [&](std::string_view name, auto&&... value) {
        out += n;
        out += '.';
        out += name;
        out += "= ";
        (out += ... += value);
        out += ";\n";
    };

    out += "MSGBOXPARAMS ";
    out += n;
    out += ";\n";
    member("cbSize", "sizeof(MSGBOXPARAMS)");
    member("hwndOwner", owner);
    if (userIcon) member("hInstance", "GetModuleHandle(NULL)");
    out += n;
    out += ".lpszText= ";
    AppendValue(out, text, form.IsChecked(IDC_TEXTVAR));
    out += ";\n";
    out += n;
    out += ".lpszCaption= ";
    AppendValue(out, title, form.IsChecked(IDC_TITLEVAR));
    out += ";\n";
    member("dwStyle", style);
    if (userIcon) member("lpszIcon", "MAKEINTRESOURCE(", options.iconId, ")");
    if (help) {
        member("dwContextHelpId", options.contextHelpId);
        member("lpfnMsgBoxCallback", options.callbackName);
    }
    member("dwLanguageId", LanguageId(form));
    out += "MessageBoxIndirect(&";
    out += n;
    out += ");";
    return out;
}

}  // namespace

std::string EscapeLiteral(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8 + 16);
    AppendEscaped(out, text);
    return out;
}

std::string GenerateStatement(const Form& form, ParamsPrompt& prompt) {
    if (form.IsChecked(IDC_TYPE_INDIRECT)) return WriteIndirect(form, prompt);
    return WriteCall(form, form.IsChecked(IDC_TYPE_BOXEX));
}

}  // namespace pw
