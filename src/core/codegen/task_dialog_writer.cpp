#include "core/codegen/task_dialog_writer.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/codegen/statement_writer.h"

namespace pw {
namespace {

// The common buttons in the order they are written and tested, with their
// flag name and the identifier the dialog returns for them.
struct CommonButton {
    unsigned bit;
    std::string_view flag, id, label;
};
constexpr std::array<CommonButton, 6> kCommonButtons{{
    {kTaskOk, "TDCBF_OK_BUTTON", "IDOK", "OK"},
    {kTaskYes, "TDCBF_YES_BUTTON", "IDYES", "Yes"},
    {kTaskNo, "TDCBF_NO_BUTTON", "IDNO", "No"},
    {kTaskCancel, "TDCBF_CANCEL_BUTTON", "IDCANCEL", "Cancel"},
    {kTaskRetry, "TDCBF_RETRY_BUTTON", "IDRETRY", "Retry"},
    {kTaskClose, "TDCBF_CLOSE_BUTTON", "IDCLOSE", "Close"},
}};

std::string_view IconName(TaskIcon icon) {
    switch (icon) {
    case TaskIcon::Warning: return "TD_WARNING_ICON";
    case TaskIcon::Error: return "TD_ERROR_ICON";
    case TaskIcon::Information: return "TD_INFORMATION_ICON";
    case TaskIcon::Shield: return "TD_SHIELD_ICON";
    case TaskIcon::None: break;
    }
    return "NULL";
}

bool IsWordCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The value an identifier stands for where the program can tell: the dialog
// identifiers by name and integer literals by value (so that 1 and IDOK are
// the same button); any other expression by its text without white space.
std::string IdentifierKey(std::string_view id) {
    std::string key;
    for (std::size_t i = 0; i < id.size(); ++i) {
        const char c = id[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            // White space between two words is part of the meaning.
            std::size_t next = i;
            while (next < id.size() && (id[next] == ' ' || id[next] == '\t' || id[next] == '\r' || id[next] == '\n'))
                ++next;
            if (!key.empty() && IsWordCharacter(key.back()) && next < id.size() && IsWordCharacter(id[next]))
                key += ' ';
            i = next - 1;
            continue;
        }
        key += c;
    }
    static constexpr std::pair<std::string_view, int> kKnown[] = {
        {"IDOK", 1},  {"IDCANCEL", 2}, {"IDABORT", 3}, {"IDRETRY", 4},     {"IDIGNORE", 5},
        {"IDYES", 6}, {"IDNO", 7},     {"IDCLOSE", 8}, {"IDTRYAGAIN", 10}, {"IDCONTINUE", 11},
    };
    for (const auto& [name, value] : kKnown)
        if (key == name) return std::to_string(value);
    // An integer literal: decimal, 0x hex or 0 octal, with u/l suffixes.
    std::string_view digits = key;
    while (!digits.empty() &&
           (digits.back() == 'u' || digits.back() == 'U' || digits.back() == 'l' || digits.back() == 'L'))
        digits.remove_suffix(1);
    if (digits.empty() || digits.size() > 18 || digits[0] < '0' || digits[0] > '9') return key;
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    } else if (digits.size() > 1 && digits[0] == '0') {
        base = 8;
        digits.remove_prefix(1);
    }
    std::uint64_t value = 0;
    for (char c : digits) {
        int d = -1;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        if (d < 0 || d >= base) return key;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    }
    return std::to_string(value);
}

bool IsBlank(std::string_view text) {
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
    return true;
}

bool Present(const TaskText& text) { return !text.text.empty(); }

// A backslash the user typed escapes what follows it. Before a character the
// writer rewrites (a quote, an apostrophe, a tab, a line break, a character
// outside ASCII) it would escape the writer's own escape instead, and at the
// end the closing quote: the statement would not say what the text says, or
// not compile.
bool EscapesTheWriter(std::string_view text) {
    std::size_t run = 0;
    for (char c : text) {
        if (c == '\\') {
            ++run;
            continue;
        }
        if (run % 2 == 1 &&
            (c == '"' || c == '\'' || c == '\t' || c == '\r' || c == '\n' || static_cast<unsigned char>(c) >= 0x80))
            return true;
        run = 0;
    }
    return run % 2 == 1;
}

constexpr std::string_view kBackslashProblem =
    " has a backslash at its end or before a quote, a tab, a line break or a character outside ASCII: write \\\\ "
    "for a backslash";

// The buttons TaskDialogIndirect can report, in the order the switch lists
// them: the custom buttons, the common ones, IDCANCEL when the dialog can be
// cancelled, IDOK when it has no button of its own. One per value.
std::vector<std::string_view> Answers(const TaskDialogConfig& config) {
    std::vector<std::string_view> answers;
    std::vector<std::string> keys;
    auto add = [&](std::string_view id) {
        std::string key = IdentifierKey(id);
        for (const std::string& k : keys)
            if (k == key) return;
        keys.push_back(std::move(key));
        answers.push_back(id);
    };
    for (const TaskButton& button : config.buttons) add(button.id);
    for (const CommonButton& common : kCommonButtons)
        if (config.commonButtons & common.bit) add(common.id);
    if (config.buttons.empty() && (config.commonButtons & 0x3F) == 0) add("IDOK");
    if (config.allowCancellation) add("IDCANCEL");
    return answers;
}

bool NeedsIndirect(const TaskDialogConfig& c) {
    return !c.buttons.empty() || c.commandLinks || !c.defaultButton.empty() || !c.radioButtons.empty() ||
           !c.defaultRadioButton.empty() || c.noDefaultRadioButton || Present(c.verification) ||
           c.verificationChecked || Present(c.expandedInformation) || c.expandedByDefault || c.expandFooterArea ||
           Present(c.expandedControlText) || Present(c.collapsedControlText) || Present(c.footer) ||
           c.footerIcon != TaskIcon::None || c.allowCancellation || c.enableHyperlinks || c.canBeMinimized ||
           c.positionRelativeToWindow || c.rtlLayout || c.sizeToContent || c.width != 0 ||
           // What TaskDialog has no parameter for.
           c.mainIconHandle || !c.footerIconSource.empty() || !c.otherFlags.empty() || !c.buttonsSource.empty() ||
           !c.buttonCountSource.empty() || !c.radioButtonsSource.empty() || !c.radioButtonCountSource.empty() ||
           !c.callback.empty() || !c.callbackData.empty() || !c.resultRadioButton.empty() ||
           !c.resultVerification.empty();
}

class Writer {
public:
    Writer(const TaskDialogConfig& config, AnswerHandling answer) : c_(config), answer_(answer) {}

    std::string Write() {
        out_.reserve(Room());
        if (NeedsIndirect(c_))
            Indirect();
        else
            Short();
        return std::move(out_);
    }

private:
    // Enough for the usual statement in one allocation; escapes may still grow it.
    std::size_t Room() const {
        std::size_t room = 1200 + c_.owner.size();
        for (const TaskText* t :
             {&c_.title, &c_.mainInstruction, &c_.content, &c_.verification, &c_.expandedInformation,
              &c_.expandedControlText, &c_.collapsedControlText, &c_.footer})
            room += t->text.size() + t->text.size() / 4;
        for (const auto* list : {&c_.buttons, &c_.radioButtons})
            for (const TaskButton& b : *list) room += 2 * b.id.size() + b.text.size() + b.text.size() / 4 + 30;
        return room;
    }

    // A text value: NULL when empty, a variable as typed, a literal as L"...".
    void Text(const TaskText& text) {
        if (text.text.empty()) {
            out_ += "NULL";
        } else if (text.variable) {
            out_ += text.text;
        } else {
            Literal(text.text);
        }
    }

    void Literal(std::string_view text) {
        out_ += "L\"";
        out_ += EscapeLiteral(text, CharacterSet::Wide);
        out_ += '"';
    }

    void CommonButtons() {
        bool any = false;
        for (const CommonButton& common : kCommonButtons) {
            if (!(c_.commonButtons & common.bit)) continue;
            if (any) out_ += " | ";
            out_ += common.flag;
            any = true;
        }
        Others(c_.otherCommonButtons, any);
        if (!any) out_ += '0';
    }

    // The terms kept as written, after the known ones.
    void Others(const std::vector<std::string>& terms, bool& any) {
        for (const std::string& term : terms) {
            if (any) out_ += " | ";
            out_ += term;
            any = true;
        }
    }

    bool HasCommonButtons() const { return (c_.commonButtons & 0x3F) || !c_.otherCommonButtons.empty(); }

    // The main or footer icon: the list's, else the one kept as written.
    std::string_view Icon(TaskIcon icon, const std::string& source) const {
        return icon == TaskIcon::None && !source.empty() ? std::string_view(source) : IconName(icon);
    }

    // An out-parameter of the call: the answer's own, else as it was read.
    void Result(const std::string& kept, std::string_view own) {
        out_ += !own.empty() ? own : kept.empty() ? std::string_view("NULL") : std::string_view(kept);
    }

    // int nButton = 0; and, for the Indirect form, the radio button and the
    // verification box, when the statement receives them.
    void Declarations(bool indirect) {
        if (answer_ == AnswerHandling::None) return;
        out_ += "int nButton = 0;\n";
        if (!indirect) return;
        if (!c_.radioButtons.empty()) out_ += "int nRadioButton = 0;\n";
        if (Present(c_.verification)) out_ += "BOOL fVerificationFlagChecked = FALSE;\n";
    }

    void Short() {
        Declarations(false);
        out_ += "TaskDialog(";
        out_ += c_.owner;
        out_ += ", ";
        out_ += c_.instance.empty() ? std::string_view("NULL") : std::string_view(c_.instance);
        out_ += ", ";
        Text(c_.title);
        out_ += ", ";
        Text(c_.mainInstruction);
        out_ += ", ";
        Text(c_.content);
        out_ += ", ";
        CommonButtons();
        out_ += ", ";
        out_ += Icon(c_.mainIcon, c_.mainIconSource);
        out_ += ", ";
        Result(c_.resultButton, answer_ == AnswerHandling::None ? "" : "&nButton");
        out_ += ");";
        AnswerBlock();
    }

    void Array(std::string_view name, const std::vector<TaskButton>& buttons) {
        if (buttons.empty()) return;
        out_ += "TASKDIALOG_BUTTON ";
        out_ += name;
        out_ += "[] = {\n";
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            out_ += "    { ";
            out_ += buttons[i].id;
            out_ += ", ";
            Literal(buttons[i].text);
            out_ += i + 1 < buttons.size() ? " },\n" : " }\n";
        }
        out_ += "};\n";
    }

    void Member(std::string_view name) {
        out_ += "config.";
        out_ += name;
        out_ += " = ";
    }

    void Member(std::string_view name, std::string_view value) {
        Member(name);
        out_ += value;
        out_ += ";\n";
    }

    void TextMember(std::string_view name, const TaskText& text) {
        if (!Present(text)) return;
        Member(name);
        Text(text);
        out_ += ";\n";
    }

    void Flags() {
        // In the order of their values.
        const std::pair<bool, std::string_view> flags[] = {
            {c_.enableHyperlinks, "TDF_ENABLE_HYPERLINKS"},
            {c_.allowCancellation, "TDF_ALLOW_DIALOG_CANCELLATION"},
            {c_.commandLinks, "TDF_USE_COMMAND_LINKS"},
            {c_.expandFooterArea, "TDF_EXPAND_FOOTER_AREA"},
            {c_.expandedByDefault, "TDF_EXPANDED_BY_DEFAULT"},
            {c_.verificationChecked, "TDF_VERIFICATION_FLAG_CHECKED"},
            {c_.positionRelativeToWindow, "TDF_POSITION_RELATIVE_TO_WINDOW"},
            {c_.rtlLayout, "TDF_RTL_LAYOUT"},
            {c_.noDefaultRadioButton, "TDF_NO_DEFAULT_RADIO_BUTTON"},
            {c_.canBeMinimized, "TDF_CAN_BE_MINIMIZED"},
            {c_.sizeToContent, "TDF_SIZE_TO_CONTENT"},
        };
        bool any = false;
        for (const auto& [on, name] : flags) {
            if (!on) continue;
            if (!any)
                Member("dwFlags");
            else
                out_ += " | ";
            out_ += name;
            any = true;
        }
        if (!c_.otherFlags.empty()) {
            if (!any) Member("dwFlags");
            Others(c_.otherFlags, any);
        }
        if (any) out_ += ";\n";
    }

    void Indirect() {
        Array("buttons", c_.buttons);
        Array("radioButtons", c_.radioButtons);
        out_ += "TASKDIALOGCONFIG config;\n";
        Declarations(true);
        out_ += "ZeroMemory(&config, sizeof(config));\n";
        Member("cbSize", "sizeof(config)");
        if (c_.owner != "NULL") Member("hwndParent", c_.owner);
        if (!c_.instance.empty()) Member("hInstance", c_.instance);
        Flags();
        if (HasCommonButtons()) {
            Member("dwCommonButtons");
            CommonButtons();
            out_ += ";\n";
        }
        TextMember("pszWindowTitle", c_.title);
        if (c_.mainIcon != TaskIcon::None || !c_.mainIconSource.empty())
            Member(c_.mainIcon == TaskIcon::None && c_.mainIconHandle ? "hMainIcon" : "pszMainIcon",
                   Icon(c_.mainIcon, c_.mainIconSource));
        TextMember("pszMainInstruction", c_.mainInstruction);
        TextMember("pszContent", c_.content);
        if (!c_.buttons.empty()) {
            Member("cButtons", "ARRAYSIZE(buttons)");
            Member("pButtons", "buttons");
        } else {
            if (!c_.buttonCountSource.empty()) Member("cButtons", c_.buttonCountSource);
            if (!c_.buttonsSource.empty()) Member("pButtons", c_.buttonsSource);
        }
        if (!c_.defaultButton.empty()) Member("nDefaultButton", c_.defaultButton);
        if (!c_.radioButtons.empty()) {
            Member("cRadioButtons", "ARRAYSIZE(radioButtons)");
            Member("pRadioButtons", "radioButtons");
        } else {
            if (!c_.radioButtonCountSource.empty()) Member("cRadioButtons", c_.radioButtonCountSource);
            if (!c_.radioButtonsSource.empty()) Member("pRadioButtons", c_.radioButtonsSource);
        }
        if (!c_.defaultRadioButton.empty()) Member("nDefaultRadioButton", c_.defaultRadioButton);
        TextMember("pszVerificationText", c_.verification);
        TextMember("pszExpandedInformation", c_.expandedInformation);
        TextMember("pszExpandedControlText", c_.expandedControlText);
        TextMember("pszCollapsedControlText", c_.collapsedControlText);
        if (c_.footerIcon != TaskIcon::None || !c_.footerIconSource.empty())
            Member(c_.footerIcon == TaskIcon::None && c_.footerIconHandle ? "hFooterIcon" : "pszFooterIcon",
                   Icon(c_.footerIcon, c_.footerIconSource));
        TextMember("pszFooter", c_.footer);
        if (!c_.callback.empty()) Member("pfCallback", c_.callback);
        if (!c_.callbackData.empty()) Member("lpCallbackData", c_.callbackData);
        if (c_.width != 0) Member("cxWidth", std::to_string(c_.width));
        out_ += "TaskDialogIndirect(&config, ";
        const bool answered = answer_ != AnswerHandling::None;
        Result(c_.resultButton, answered ? "&nButton" : "");
        out_ += ", ";
        Result(c_.resultRadioButton, answered && !c_.radioButtons.empty() ? "&nRadioButton" : "");
        out_ += ", ";
        Result(c_.resultVerification, answered && Present(c_.verification) ? "&fVerificationFlagChecked" : "");
        out_ += ");";
        AnswerBlock();
    }

    void AnswerBlock() {
        if (answer_ == AnswerHandling::None) return;
        const std::vector<std::string_view> answers = Answers(c_);
        if (answer_ == AnswerHandling::If) {
            out_ += "\nif (nButton == ";
            out_ += answers.front();
            out_ += ")\n{\n}";
            return;
        }
        out_ += "\nswitch (nButton)\n{\n";
        for (std::string_view id : answers) {
            out_ += "case ";
            out_ += id;
            out_ += ":\n    break;\n";
        }
        out_ += '}';
    }

    const TaskDialogConfig& c_;
    AnswerHandling answer_;
    std::string out_;
};

// Task dialogs take wide strings only, which hold every character but half of one.
std::string LoneSurrogateProblem(std::string_view text) {
    return LiteralTextProblem(text, CharacterSet::Wide, Windows1252());
}

// "Custom button 3", "Radio button 1".
std::string Ordinal(std::string_view kind, std::size_t index) {
    return std::string(kind) + ' ' + std::to_string(index + 1);
}

std::optional<std::string> ListProblem(const std::vector<TaskButton>& list, std::string_view kind,
                                       std::string_view lowerKind, std::string_view plural, unsigned commonButtons) {
    std::vector<std::string> keys;
    keys.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (IsBlank(list[i].id)) return Ordinal(kind, i) + " has no identifier";
        if (EscapesTheWriter(list[i].text))
            return "The text of " + Ordinal(lowerKind, i) + std::string(kBackslashProblem);
        if (std::string lone = LoneSurrogateProblem(list[i].text); !lone.empty()) return lone;
        keys.push_back(IdentifierKey(list[i].id));
        for (std::size_t k = 0; k < i; ++k)
            if (keys[k] == keys[i])
                return std::string(plural) + ' ' + std::to_string(k + 1) + " and " + std::to_string(i + 1) +
                       " have the same identifier (" + list[i].id + ")";
        for (const CommonButton& common : kCommonButtons)
            if ((commonButtons & common.bit) && keys[i] == IdentifierKey(common.id))
                return Ordinal(kind, i) + " has the identifier of the " + std::string(common.label) + " button (" +
                       list[i].id + ")";
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> TaskDialogProblem(const TaskDialogConfig& config) {
    if (IsBlank(config.owner)) return "The owner window is empty: write NULL for none";
    const std::pair<const TaskText*, std::string_view> texts[] = {
        {&config.title, "window title"},
        {&config.mainInstruction, "main instruction"},
        {&config.content, "content"},
        {&config.verification, "verification text"},
        {&config.expandedInformation, "expanded information"},
        {&config.expandedControlText, "expanded control text"},
        {&config.collapsedControlText, "collapsed control text"},
        {&config.footer, "footer"},
    };
    for (const auto& [text, name] : texts) {
        if (text->variable && !text->text.empty() && IsBlank(text->text))
            return "The " + std::string(name) + " is a variable without a name";
        if (text->variable) continue;
        if (EscapesTheWriter(text->text)) return "The " + std::string(name) + std::string(kBackslashProblem);
        if (std::string lone = LoneSurrogateProblem(text->text); !lone.empty()) return lone;
    }
    if (auto problem =
            ListProblem(config.buttons, "Custom button", "custom button", "Custom buttons", config.commonButtons))
        return problem;
    if (auto problem = ListProblem(config.radioButtons, "Radio button", "radio button", "Radio buttons", 0))
        return problem;
    return std::nullopt;
}

std::string WriteTaskDialog(const TaskDialogConfig& config, AnswerHandling answer) {
    return Writer(config, answer).Write();
}

}  // namespace pw
