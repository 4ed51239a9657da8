#include "dialogs/task_dialog_preview_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <set>

#include "dialogs/warning_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

struct KnownIdentifier {
    const char* name;
    int value;
};
// The results a task dialog's buttons may share with the system's own.
constexpr KnownIdentifier kKnownIdentifiers[] = {
    {"IDOK", IDOK},         {"IDCANCEL", IDCANCEL}, {"IDABORT", IDABORT}, {"IDRETRY", IDRETRY},
    {"IDIGNORE", IDIGNORE}, {"IDYES", IDYES},       {"IDNO", IDNO},       {"IDCLOSE", 8},
    {"IDHELP", 9},          {"IDTRYAGAIN", 10},     {"IDCONTINUE", 11},
};

// Numbers for the other expressions start here: far from the small numbers
// programs give their commands, and within the 16 bits of a command identifier.
constexpr int kFirstStandInIdentifier = 20000;

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::wstring WithoutCarriageReturns(std::wstring text) {
    text.erase(std::remove(text.begin(), text.end(), L'\r'), text.end());
    return text;
}

PCWSTR IconResource(TaskIcon icon) {
    switch (icon) {
    case TaskIcon::Warning: return TD_WARNING_ICON;
    case TaskIcon::Error: return TD_ERROR_ICON;
    case TaskIcon::Information: return TD_INFORMATION_ICON;
    case TaskIcon::Shield: return TD_SHIELD_ICON;
    case TaskIcon::None: break;
    }
    return nullptr;
}

TASKDIALOG_FLAGS Flags(const TaskDialogConfig& config) {
    TASKDIALOG_FLAGS flags = 0;
    const std::pair<bool, TASKDIALOG_FLAGS> table[] = {
        {config.commandLinks && !config.buttons.empty(), TDF_USE_COMMAND_LINKS},
        {config.noDefaultRadioButton, TDF_NO_DEFAULT_RADIO_BUTTON},
        {config.verificationChecked, TDF_VERIFICATION_FLAG_CHECKED},
        {config.expandedByDefault, TDF_EXPANDED_BY_DEFAULT},
        {config.expandFooterArea, TDF_EXPAND_FOOTER_AREA},
        {config.allowCancellation, TDF_ALLOW_DIALOG_CANCELLATION},
        {config.enableHyperlinks, TDF_ENABLE_HYPERLINKS},
        {config.canBeMinimized, TDF_CAN_BE_MINIMIZED},
        {config.positionRelativeToWindow, TDF_POSITION_RELATIVE_TO_WINDOW},
        {config.rtlLayout, TDF_RTL_LAYOUT},
        {config.sizeToContent, TDF_SIZE_TO_CONTENT},
    };
    for (const auto& [set, flag] : table)
        if (set) flags |= flag;
    return flags;
}

// Hyperlinks lead wherever the user's program takes them; in the preview they
// do nothing. Every other notification keeps the system's behaviour.
HRESULT CALLBACK PreviewCallback(HWND, UINT, WPARAM, LPARAM, LONG_PTR) { return S_OK; }

// The buttons' texts converted, and the array the system reads, which points
// into them.
class WideButtons {
public:
    WideButtons(const std::vector<TaskButton>& buttons, const PreviewIdentifiers& ids) {
        texts_.reserve(buttons.size());
        // The system takes a command link's note after a bare line feed.
        for (const TaskButton& button : buttons) texts_.push_back(WithoutCarriageReturns(Utf16(button.text)));
        for (std::size_t i = 0; i < buttons.size(); ++i) items_.push_back({ids.Of(buttons[i].id), texts_[i].c_str()});
    }
    const TASKDIALOG_BUTTON* Data() const { return items_.empty() ? nullptr : items_.data(); }
    UINT Count() const { return static_cast<UINT>(items_.size()); }

private:
    std::vector<std::wstring> texts_;
    std::vector<TASKDIALOG_BUTTON> items_;
};

PCWSTR OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

TaskDialogIndirectFunction SystemTaskDialogIndirect() {
    HMODULE comctl32 = GetModuleHandleW(L"comctl32.dll");
    if (comctl32 == nullptr) return nullptr;
    return reinterpret_cast<TaskDialogIndirectFunction>(
        reinterpret_cast<void*>(GetProcAddress(comctl32, "TaskDialogIndirect")));
}

bool KnownIdentifierValue(const std::string& expression, int& value) {
    const std::string text = Trimmed(expression);
    if (text.empty()) return false;
    for (const KnownIdentifier& known : kKnownIdentifiers) {
        if (text == known.name) {
            value = known.value;
            return true;
        }
    }
    if (text[0] < '0' || text[0] > '9') return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long number = std::strtoul(text.c_str(), &end, 0);
    // A C literal may end in U or L; the preview needs only its value.
    while (*end == 'u' || *end == 'U' || *end == 'l' || *end == 'L') ++end;
    if (*end != '\0' || errno == ERANGE || number > 0x7FFFFFFFul) return false;
    value = static_cast<int>(number);
    return true;
}

PreviewIdentifiers::PreviewIdentifiers(const TaskDialogConfig& config) {
    std::vector<std::string> expressions;
    for (const TaskButton& button : config.buttons) expressions.push_back(button.id);
    for (const TaskButton& radio : config.radioButtons) expressions.push_back(radio.id);
    expressions.push_back(config.defaultButton);
    expressions.push_back(config.defaultRadioButton);

    std::set<int> used;
    std::vector<std::string> others;
    for (const std::string& expression : expressions) {
        const std::string text = Trimmed(expression);
        if (text.empty() || numbers_.count(text) != 0) continue;
        int value = 0;
        if (KnownIdentifierValue(text, value)) {
            numbers_[text] = value;
            used.insert(value);
        } else {
            numbers_[text] = 0;
            others.push_back(text);
        }
    }
    int next = kFirstStandInIdentifier;
    for (const std::string& text : others) {
        while (used.count(next) != 0) ++next;
        numbers_[text] = next;
        used.insert(next);
    }
}

int PreviewIdentifiers::Of(const std::string& expression) const {
    const auto found = numbers_.find(Trimmed(expression));
    return found == numbers_.end() ? 0 : found->second;
}

void PreviewTaskDialog(HWND owner, const TaskDialogConfig& config, TaskDialogIndirectFunction show) {
    if (show == nullptr) {
        ShowWarning(owner,
                    "This system cannot show task dialogs (they need Windows Vista or later), so there is no preview");
        return;
    }
    const PreviewIdentifiers ids(config);
    const std::wstring title = Utf16(config.title.text), mainInstruction = Utf16(config.mainInstruction.text),
                       content = Utf16(config.content.text), verification = Utf16(config.verification.text),
                       expanded = Utf16(config.expandedInformation.text),
                       expandedControl = Utf16(config.expandedControlText.text),
                       collapsedControl = Utf16(config.collapsedControlText.text), footer = Utf16(config.footer.text);
    const WideButtons buttons(config.buttons, ids), radioButtons(config.radioButtons, ids);

    TASKDIALOGCONFIG dialog{};
    dialog.cbSize = sizeof dialog;
    dialog.hwndParent = owner;
    dialog.dwFlags = Flags(config);
    dialog.dwCommonButtons = config.commonButtons;
    dialog.pszWindowTitle = OrNull(title);
    dialog.pszMainIcon = IconResource(config.mainIcon);
    dialog.pszMainInstruction = OrNull(mainInstruction);
    dialog.pszContent = OrNull(content);
    dialog.cButtons = buttons.Count();
    dialog.pButtons = buttons.Data();
    dialog.nDefaultButton = ids.Of(config.defaultButton);
    dialog.cRadioButtons = radioButtons.Count();
    dialog.pRadioButtons = radioButtons.Data();
    dialog.nDefaultRadioButton = ids.Of(config.defaultRadioButton);
    dialog.pszVerificationText = OrNull(verification);
    dialog.pszExpandedInformation = OrNull(expanded);
    dialog.pszExpandedControlText = OrNull(expandedControl);
    dialog.pszCollapsedControlText = OrNull(collapsedControl);
    dialog.pszFooterIcon = IconResource(config.footerIcon);
    dialog.pszFooter = OrNull(footer);
    dialog.pfCallback = PreviewCallback;
    dialog.cxWidth = config.width;
    // The button the user chose is of no use here; a failure (an argument the
    // system refuses) is told, as the preview did not appear.
    if (FAILED(show(&dialog, nullptr, nullptr, nullptr)))
        ShowWarning(owner, "The system did not show this task dialog");
}

}  // namespace pw
