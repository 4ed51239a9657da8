#include "dialogs/task_dialog_designer_win32.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "core/codegen/expansion.h"
#include "core/codegen/task_dialog_writer.h"
#include "core/codeparse/task_dialog_reader.h"
#include "core/settings/quickbox_slots.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/edit_call_win32.h"
#include "dialogs/code_menu_win32.h"
#include "dialogs/help_win32.h"
#include "dialogs/insert_targets_win32.h"
#include "dialogs/load_code_win32.h"
#include "dialogs/quickbox_win32.h"
#include "dialogs/task_dialog_designer_testing_win32.h"
#include "dialogs/task_dialog_preview_win32.h"
#include "dialogs/warning_win32.h"
#include "res/resource.h"
#include "win32/accessibility_win32.h"
#include "win32/guard_win32.h"
#include "win32/clipboard_win32.h"
#include "win32/dialog_data_win32.h"
#include "win32/dialog_form_win32.h"
#include "win32/quickbox_store_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

// The help file predates task dialogs and has no topics for them; F1 is
// answered by the program's own notes.
const DWORD kTaskDialogHelpTable[] = {0, 0};

// Told after the designer has appeared, so that the box has a window over
// which to show.
constexpr UINT kReportUnrecognised = WM_APP + 1;

// The icon lists, in TaskIcon order.
constexpr const wchar_t* kIconNames[] = {L"None", L"Warning", L"Error", L"Information", L"Shield"};

// The common-button check boxes in the order of their TDCBF_ bits, and the
// result each button gives (offered as a default button).
struct CommonButton {
    int checkBox;
    unsigned bit;
    const char* result;
};
constexpr CommonButton kCommonButtons[] = {
    {IDC_TD_COMMON_OK, kTaskOk, "IDOK"},          {IDC_TD_COMMON_YES, kTaskYes, "IDYES"},
    {IDC_TD_COMMON_NO, kTaskNo, "IDNO"},          {IDC_TD_COMMON_CANCEL, kTaskCancel, "IDCANCEL"},
    {IDC_TD_COMMON_RETRY, kTaskRetry, "IDRETRY"}, {IDC_TD_COMMON_CLOSE, kTaskClose, "IDCLOSE"},
};

struct FlagBox {
    int checkBox;
    bool TaskDialogConfig::*flag;
};
constexpr FlagBox kFlagBoxes[] = {
    {IDC_TD_COMMANDLINKS, &TaskDialogConfig::commandLinks},
    {IDC_TD_NODEFRADIO, &TaskDialogConfig::noDefaultRadioButton},
    {IDC_TD_VERIFYCHECKED, &TaskDialogConfig::verificationChecked},
    {IDC_TD_EXPANDEDDEFAULT, &TaskDialogConfig::expandedByDefault},
    {IDC_TD_EXPANDFOOTER, &TaskDialogConfig::expandFooterArea},
    {IDC_TD_CANCELLATION, &TaskDialogConfig::allowCancellation},
    {IDC_TD_HYPERLINKS, &TaskDialogConfig::enableHyperlinks},
    {IDC_TD_MINIMIZE, &TaskDialogConfig::canBeMinimized},
    {IDC_TD_RELATIVE, &TaskDialogConfig::positionRelativeToWindow},
    {IDC_TD_RTL, &TaskDialogConfig::rtlLayout},
    {IDC_TD_SIZETOCONTENT, &TaskDialogConfig::sizeToContent},
};

// A text field, and its "Variable" check box where the designer offers one.
// The expand button's two texts, which hardly ever come from a variable, keep
// the mark they were read with.
struct TextField {
    int edit;
    int variable;  // 0: none
    TaskText TaskDialogConfig::*text;
};
constexpr TextField kTextFields[] = {
    {IDC_TD_TITLE, IDC_TD_TITLEVAR, &TaskDialogConfig::title},
    {IDC_TD_MAININSTR, IDC_TD_MAININSTRVAR, &TaskDialogConfig::mainInstruction},
    {IDC_TD_CONTENT, IDC_TD_CONTENTVAR, &TaskDialogConfig::content},
    {IDC_TD_VERIFY, IDC_TD_VERIFYVAR, &TaskDialogConfig::verification},
    {IDC_TD_EXPANDED, IDC_TD_EXPANDEDVAR, &TaskDialogConfig::expandedInformation},
    {IDC_TD_EXPANDEDTEXT, 0, &TaskDialogConfig::expandedControlText},
    {IDC_TD_COLLAPSEDTEXT, 0, &TaskDialogConfig::collapsedControlText},
    {IDC_TD_FOOTER, IDC_TD_FOOTERVAR, &TaskDialogConfig::footer},
};

// One of the two lists of buttons and the controls that edit it.
struct ButtonList {
    std::vector<TaskButton> TaskDialogConfig::*entries;
    int list, add, remove, up, down, id, text;
    int note;                // 0: the list has no notes
    const char* newText;     // "Button": a new entry is "Button 3"
    int firstNewIdentifier;  // a new entry takes the first free number from here
};
constexpr ButtonList kCustomButtons{&TaskDialogConfig::buttons,
                                    IDC_TD_BUTTONLIST,
                                    IDC_TD_BUTTONADD,
                                    IDC_TD_BUTTONREMOVE,
                                    IDC_TD_BUTTONUP,
                                    IDC_TD_BUTTONDOWN,
                                    IDC_TD_BUTTONID,
                                    IDC_TD_BUTTONTEXT,
                                    IDC_TD_BUTTONNOTE,
                                    "Button",
                                    1001};
constexpr ButtonList kRadioButtons{&TaskDialogConfig::radioButtons,
                                   IDC_TD_RADIOLIST,
                                   IDC_TD_RADIOADD,
                                   IDC_TD_RADIOREMOVE,
                                   IDC_TD_RADIOUP,
                                   IDC_TD_RADIODOWN,
                                   IDC_TD_RADIOID,
                                   IDC_TD_RADIOTEXT,
                                   0,
                                   "Option",
                                   2001};

constexpr char kWidthProblem[] = "The width must be a whole number of dialog units (0: the system's choice)";

struct DesignerData {
    explicit DesignerData(AppContext& c, std::string s) : context(c), statement(std::move(s)) {}
    AppContext& context;
    std::string statement;  // read into the fields at opening
    // The configuration as last shown, with the two lists as edited since:
    // what the fields do not show (the variable marks of texts without a
    // check box; what code read from elsewhere set that the designer has no
    // control for: instance, callback, icons and flags kept as written, the
    // call's out-parameters) is kept from it, unseen, until Clear or the next
    // Load. An icon chosen in a list takes the place of one kept as written.
    TaskDialogConfig config;
    // While the designer sets its own fields: their change notices are not the user's.
    bool filling = false;
    bool ownedByWindow = false;  // made by CreateTaskDialogDesignerForTesting
    std::string unrecognised;    // why the statement last loaded was refused, for the warning box
};

DesignerData& Data(HWND designer) { return *DialogData<DesignerData>(designer); }

// The designer's controls, read and set as the main form's are.
DialogForm Fields(HWND designer) { return DialogForm(designer); }

void Enable(HWND designer, int id, bool enabled) { EnableWindow(GetDlgItem(designer, id), enabled); }

TaskDialogConfig NewConfig(const AppContext& context) {
    TaskDialogConfig config;
    // As the main form's Parent list starts: its first entry.
    if (!context.settings.parents.empty()) config.owner = context.settings.parents.front();
    return config;
}

// A button's text holds its command-link note after the first line break
// (CR LF, as the designer's other texts hold theirs).
std::pair<std::string, std::string> SplitNote(const std::string& text) {
    const std::size_t feed = text.find('\n');
    if (feed == std::string::npos) return {text, {}};
    std::string caption = text.substr(0, feed);
    if (!caption.empty() && caption.back() == '\r') caption.pop_back();
    return {caption, text.substr(feed + 1)};
}

std::string JoinNote(const std::string& caption, const std::string& note) {
    return note.empty() ? caption : caption + "\r\n" + note;
}

// A list box entry, as the list takes it.
std::wstring ListLine(const TaskButton& button) {
    const auto [caption, note] = SplitNote(button.text);
    return Utf16(button.id + "  -  " + caption + (note.empty() ? "" : "  (" + note + ")"));
}

// ---------------------------------------------------------------- the lists

int Selected(HWND designer, const ButtonList& ids) {
    return static_cast<int>(SendDlgItemMessageW(designer, ids.list, LB_GETCURSEL, 0, 0));
}

void FillComboItems(HWND designer, int id, const std::vector<std::string>& items) {
    // The edit field of a drop-down combo box is its value; the items only offer choices.
    const std::string value = Fields(designer).Text(id);
    SendDlgItemMessageW(designer, id, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items)
        SendDlgItemMessageW(designer, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf16(item).c_str()));
    Fields(designer).SetText(id, value);
}

// The default-button and default-radio lists offer the identifiers there are.
void OfferDefaults(HWND designer) {
    const TaskDialogConfig& config = Data(designer).config;
    std::vector<std::string> buttons;
    for (const CommonButton& common : kCommonButtons)
        if (Fields(designer).IsChecked(common.checkBox)) buttons.push_back(common.result);
    for (const TaskButton& button : config.buttons) buttons.push_back(button.id);
    std::vector<std::string> radios;
    for (const TaskButton& radio : config.radioButtons) radios.push_back(radio.id);
    const bool filling = std::exchange(Data(designer).filling, true);
    FillComboItems(designer, IDC_TD_DEFBUTTON, buttons);
    FillComboItems(designer, IDC_TD_DEFRADIO, radios);
    Data(designer).filling = filling;
}

void EnableEntryControls(HWND designer, const ButtonList& ids) {
    const int count = static_cast<int>((Data(designer).config.*ids.entries).size());
    const int selected = Selected(designer, ids);
    const bool any = selected >= 0 && selected < count;
    Enable(designer, ids.remove, any);
    Enable(designer, ids.up, any && selected > 0);
    Enable(designer, ids.down, any && selected + 1 < count);
    Enable(designer, ids.id, any);
    Enable(designer, ids.text, any);
    if (ids.note != 0) Enable(designer, ids.note, any && Fields(designer).IsChecked(IDC_TD_COMMANDLINKS));
}

// Puts the selected entry into the identifier, text and note fields.
void ShowSelectedEntry(HWND designer, const ButtonList& ids) {
    DesignerData& data = Data(designer);
    const std::vector<TaskButton>& entries = data.config.*ids.entries;
    const int selected = Selected(designer, ids);
    TaskButton entry;
    if (selected >= 0 && selected < static_cast<int>(entries.size()))
        entry = entries[static_cast<std::size_t>(selected)];
    const auto [caption, note] = ids.note != 0 ? SplitNote(entry.text) : std::pair{entry.text, std::string()};
    const bool filling = std::exchange(data.filling, true);
    Fields(designer).SetText(ids.id, entry.id);
    Fields(designer).SetText(ids.text, caption);
    if (ids.note != 0) Fields(designer).SetText(ids.note, note);
    data.filling = filling;
    EnableEntryControls(designer, ids);
}

void FillList(HWND designer, const ButtonList& ids, int select) {
    HWND list = GetDlgItem(designer, ids.list);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const TaskButton& entry : Data(designer).config.*ids.entries)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ListLine(entry).c_str()));
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(select), 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    ShowSelectedEntry(designer, ids);
    OfferDefaults(designer);
}

// The identifier, text or note of the selected entry was edited.
void OnEntryEdited(HWND designer, const ButtonList& ids) {
    DesignerData& data = Data(designer);
    std::vector<TaskButton>& entries = data.config.*ids.entries;
    const int selected = Selected(designer, ids);
    if (data.filling || selected < 0 || selected >= static_cast<int>(entries.size())) return;
    TaskButton& entry = entries[static_cast<std::size_t>(selected)];
    entry.id = Fields(designer).Text(ids.id);
    entry.text = ids.note != 0 ? JoinNote(Fields(designer).Text(ids.text), Fields(designer).Text(ids.note))
                               : Fields(designer).Text(ids.text);
    HWND list = GetDlgItem(designer, ids.list);
    SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
    SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(selected),
                 reinterpret_cast<LPARAM>(ListLine(entry).c_str()));
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    OfferDefaults(designer);
}

// A new entry gets the first number from the list's start that no entry of
// either list uses, and is selected with its text ready to be typed over.
void OnAdd(HWND designer, const ButtonList& ids) {
    TaskDialogConfig& config = Data(designer).config;
    std::vector<TaskButton>& entries = config.*ids.entries;
    int number = ids.firstNewIdentifier;
    const auto used = [&](const std::string& id) {
        const auto same = [&](const TaskButton& entry) { return entry.id == id; };
        return std::any_of(config.buttons.begin(), config.buttons.end(), same) ||
               std::any_of(config.radioButtons.begin(), config.radioButtons.end(), same);
    };
    while (used(std::to_string(number))) ++number;
    entries.push_back({std::to_string(number), std::string(ids.newText) + " " + std::to_string(entries.size() + 1)});
    FillList(designer, ids, static_cast<int>(entries.size()) - 1);
    HWND text = GetDlgItem(designer, ids.text);
    SendMessageW(designer, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(text), TRUE);
    SendMessageW(text, EM_SETSEL, 0, -1);
}

void OnRemove(HWND designer, const ButtonList& ids) {
    std::vector<TaskButton>& entries = Data(designer).config.*ids.entries;
    const int selected = Selected(designer, ids);
    if (selected < 0 || selected >= static_cast<int>(entries.size())) return;
    entries.erase(entries.begin() + selected);
    // The next entry takes the removed one's place in the selection; after
    // the last, the one before it.
    FillList(designer, ids, std::min(selected, static_cast<int>(entries.size()) - 1));
    if (entries.empty())
        SendMessageW(designer, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(designer, ids.add)), TRUE);
}

void OnMove(HWND designer, const ButtonList& ids, int step) {
    std::vector<TaskButton>& entries = Data(designer).config.*ids.entries;
    const int selected = Selected(designer, ids);
    const int target = selected + step;
    if (selected < 0 || target < 0 || target >= static_cast<int>(entries.size())) return;
    std::swap(entries[static_cast<std::size_t>(selected)], entries[static_cast<std::size_t>(target)]);
    FillList(designer, ids, target);
    // The button pressed may have become disabled at the end of the list.
    HWND pressed = GetDlgItem(designer, step < 0 ? ids.up : ids.down);
    if (!IsWindowEnabled(pressed))
        SendMessageW(designer, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(designer, ids.list)), TRUE);
}

// Handles the commands of one list's controls; false when `command` is none of them.
bool OnListCommand(HWND designer, const ButtonList& ids, int command, int notification) {
    if (command == ids.list) {
        if (notification == LBN_SELCHANGE) ShowSelectedEntry(designer, ids);
    } else if (command == ids.id || command == ids.text || (ids.note != 0 && command == ids.note)) {
        if (notification == EN_CHANGE) OnEntryEdited(designer, ids);
    } else if (command == ids.add) {
        OnAdd(designer, ids);
    } else if (command == ids.remove) {
        OnRemove(designer, ids);
    } else if (command == ids.up || command == ids.down) {
        OnMove(designer, ids, command == ids.up ? -1 : 1);
    } else {
        return false;
    }
    return true;
}

// ---------------------------------------------------- fields <-> configuration

void ShowFields(HWND designer, const TaskDialogConfig& config) {
    DesignerData& data = Data(designer);
    const bool filling = std::exchange(data.filling, true);
    data.config = config;
    for (const TextField& field : kTextFields) {
        Fields(designer).SetText(field.edit, (config.*field.text).text);
        if (field.variable != 0) Fields(designer).SetChecked(field.variable, (config.*field.text).variable);
    }
    for (const CommonButton& common : kCommonButtons)
        Fields(designer).SetChecked(common.checkBox, (config.commonButtons & common.bit) != 0);
    for (const FlagBox& box : kFlagBoxes) Fields(designer).SetChecked(box.checkBox, config.*box.flag);
    Fields(designer).SetListPosition(IDC_TD_MAINICON, static_cast<int>(config.mainIcon));
    Fields(designer).SetListPosition(IDC_TD_FOOTERICON, static_cast<int>(config.footerIcon));
    Fields(designer).SetText(IDC_TD_OWNER, config.owner);
    Fields(designer).SetText(IDC_TD_WIDTH, std::to_string(config.width));
    FillList(designer, kCustomButtons, config.buttons.empty() ? -1 : 0);
    FillList(designer, kRadioButtons, config.radioButtons.empty() ? -1 : 0);
    Fields(designer).SetText(IDC_TD_DEFBUTTON, config.defaultButton);
    Fields(designer).SetText(IDC_TD_DEFRADIO, config.defaultRadioButton);
    data.filling = filling;
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The width field takes digits only as typed, but a paste can bring anything.
// Any UINT is a width, as the statement's cxWidth.
std::optional<unsigned> ReadWidth(const std::string& field) {
    const std::string text = Trimmed(field);
    if (text.empty()) return 0u;
    if (text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    const unsigned long long width = std::stoull(text);
    if (width > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<unsigned>(width);
}

TaskIcon IconAt(HWND designer, int id) {
    const int position = Fields(designer).ListPosition(id);
    if (position < 0 || position >= static_cast<int>(std::size(kIconNames))) return TaskIcon::None;
    return static_cast<TaskIcon>(position);
}

DesignerReading ReadFields(HWND designer) {
    DesignerReading reading;
    TaskDialogConfig& config = reading.config;
    config = Data(designer).config;
    for (const TextField& field : kTextFields) {
        (config.*field.text).text = Fields(designer).Text(field.edit);
        if (field.variable != 0) (config.*field.text).variable = Fields(designer).IsChecked(field.variable);
    }
    config.commonButtons = 0;
    for (const CommonButton& common : kCommonButtons)
        if (Fields(designer).IsChecked(common.checkBox)) config.commonButtons |= common.bit;
    for (const FlagBox& box : kFlagBoxes) config.*box.flag = Fields(designer).IsChecked(box.checkBox);
    config.mainIcon = IconAt(designer, IDC_TD_MAINICON);
    config.footerIcon = IconAt(designer, IDC_TD_FOOTERICON);
    // An icon chosen in a list replaces the one kept as written.
    if (config.mainIcon != TaskIcon::None) config.mainIconSource.clear(), config.mainIconHandle = false;
    if (config.footerIcon != TaskIcon::None) config.footerIconSource.clear(), config.footerIconHandle = false;
    config.owner = Trimmed(Fields(designer).Text(IDC_TD_OWNER));
    config.defaultButton = Trimmed(Fields(designer).Text(IDC_TD_DEFBUTTON));
    config.defaultRadioButton = Trimmed(Fields(designer).Text(IDC_TD_DEFRADIO));
    const std::optional<unsigned> width = ReadWidth(Fields(designer).Text(IDC_TD_WIDTH));
    config.width = width.value_or(0);

    if (!width)
        reading.problem = kWidthProblem;
    else
        reading.problem = TaskDialogProblem(config);
    return reading;
}

// The configuration when it can be written; otherwise the user is told why not.
std::optional<TaskDialogConfig> WritableConfig(HWND designer) {
    DesignerReading reading = ReadFields(designer);
    if (reading.problem) {
        ShowWarning(designer, *reading.problem);
        return std::nullopt;
    }
    return std::move(reading.config);
}

// The statement for the fields, lines ended by '\n'; none when refused.
std::optional<std::string> Statement(HWND designer) {
    const std::optional<TaskDialogConfig> config = WritableConfig(designer);
    if (!config) return std::nullopt;
    const AppContext& context = Data(designer).context;
    return WriteTaskDialog(*config, EditAnswer(context));
}

// Reads a statement into the fields and puts its answer handling in force,
// as the main form's Load code does; when it is none, the fields are kept and
// the user is told why ("Unrecognised code: ...").
bool LoadStatement(HWND designer, const std::string& text, bool warnNow = true) {
    DesignerData& data = Data(designer);
    AppContext& context = data.context;
    TaskDialogConfig config;
    AnswerHandling answer = context.codeOptions.answer;
    std::string problem;
    if (!ReadTaskDialog(text, config, &answer, &problem)) {
        data.unrecognised = problem.empty() ? "Unrecognised code" : "Unrecognised code: " + problem;
        if (warnNow) ShowWarning(designer, data.unrecognised);
        return false;
    }
    ShowFields(designer, config);
    if (answer != context.codeOptions.answer) {
        CodeOptions options = context.codeOptions;
        options.answer = answer;
        ChooseCodeOptions(context.mainFormWindow, context, options);
    }
    return true;
}

// ------------------------------------------------------------------ commands

void EndDesigner(HWND designer, INT_PTR result) {
    if (Data(designer).ownedByWindow)
        DestroyWindow(designer);
    else
        EndDialog(designer, result);
}

void OnGenerate(HWND designer) {
    if (const std::optional<std::string> statement = Statement(designer))
        Fields(designer).SetText(IDC_TD_CODE, ExpandLineFeeds(*statement));
}

void OnCopy(HWND designer) {
    if (const std::optional<std::string> statement = Statement(designer))
        CopyOrWarn(designer, ExpandLineFeeds(*statement));
}

void OnInsert(HWND designer) {
    const AppContext& context = Data(designer).context;
    const std::optional<std::string> statement = Statement(designer);
    if (!statement) return;
    const bool copied = InsertIntoTargets(designer, context, ExpandLineFeeds(*statement));
    if (!copied || !context.settings.insertShutDown) return;
    EndDesigner(designer, 1);
    context.EndMainWindows(1);
}

void OnLoadCode(HWND designer) { LoadStatement(designer, Fields(designer).Text(IDC_TD_CODE)); }

void OnPreview(HWND designer) {
    if (const std::optional<TaskDialogConfig> config = WritableConfig(designer)) PreviewTaskDialog(designer, *config);
}

void OnClear(HWND designer) { ShowFields(designer, NewConfig(Data(designer).context)); }

// As the main form's QuickBox Load: a missing slot clears, one too long to
// be read whole is not used. A message box goes to the main form, as the
// form hands task dialogs to the designer: the designer closes and the form
// loads it (and says "Unrecognised code" for what is neither).
void OnQuickBoxLoad(HWND designer, const std::string& slot) {
    AppContext& context = Data(designer).context;
    const SlotValue value = ReadQuickBoxSlot(context.settings.settingsPath, slot);
    switch (value.state) {
    case SlotState::TooLong: ReportTooLongSlot(designer, slot); break;
    case SlotState::Missing: OnClear(designer); break;
    case SlotState::Found:
        if (IsTaskDialogStatement(value.statement) || !context.MainFormExists()) {
            LoadStatement(designer, value.statement);
            break;
        }
        EndDesigner(designer, 0);
        LoadCodeIntoForm(context.mainFormWindow, value.statement, context);
        break;
    }
}

void OnQuickBoxSet(HWND designer, const std::string& slot) {
    if (slot.empty()) return;
    if (const std::optional<std::string> statement = Statement(designer))
        StoreStatementInSlot(designer, slot, *statement, Data(designer).context);
}

void OnCommand(HWND designer, int command, int notification) {
    DesignerData& data = Data(designer);
    if (OnListCommand(designer, kCustomButtons, command, notification) ||
        OnListCommand(designer, kRadioButtons, command, notification))
        return;
    switch (command) {
    case IDC_TD_INSERT: OnInsert(designer); break;
    case IDC_TD_COPY: OnCopy(designer); break;
    case IDC_TD_GENERATE: OnGenerate(designer); break;
    case IDC_TD_LOADCODE: OnLoadCode(designer); break;
    case IDOK:  // Enter where no button is the default
    case IDC_TD_PREVIEW: OnPreview(designer); break;
    case IDCANCEL:  // Escape
    case IDC_TD_CLOSE: EndDesigner(designer, 0); break;
    case IDM_TD_CLEAR: OnClear(designer); break;
    case IDM_TD_HELP: ShowHelpContents(data.context.help, designer); break;
    case IDC_TD_COMMANDLINKS: EnableEntryControls(designer, kCustomButtons); break;
    default:
        if (const auto slot = QuickBoxCommandOf(command)) {
            const std::string name = QuickBoxSlotName(designer, command);
            if (slot->operation == QuickBoxOperation::Load)
                OnQuickBoxLoad(designer, name);
            else
                OnQuickBoxSet(designer, name);
        } else if (command >= IDC_TD_COMMON_OK && command <= IDC_TD_COMMON_CLOSE) {
            OfferDefaults(designer);
        }
        break;
    }
}

void FillIconList(HWND designer, int id) {
    for (const wchar_t* name : kIconNames)
        SendDlgItemMessageW(designer, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
}

void OnInitDialog(HWND designer) {
    DesignerData& data = Data(designer);
    const AppContext& context = data.context;
    BuildQuickBoxMenu(designer, context.settings.settingsPath);
    DrawMenuBar(designer);
    FillIconList(designer, IDC_TD_MAINICON);
    FillIconList(designer, IDC_TD_FOOTERICON);
    for (const std::string& parent : context.settings.parents)
        SendDlgItemMessageW(designer, IDC_TD_OWNER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf16(parent).c_str()));
    SendDlgItemMessageW(designer, IDC_TD_WIDTH, EM_LIMITTEXT, 10, 0);
    // Six boxes read "Variable": a screen reader is told which field each is for.
    for (const auto& [id, name] : {std::pair{IDC_TD_TITLEVAR, "Window title is a variable"},
                                   {IDC_TD_MAININSTRVAR, "Main instruction is a variable"},
                                   {IDC_TD_CONTENTVAR, "Content is a variable"},
                                   {IDC_TD_FOOTERVAR, "Footer is a variable"},
                                   {IDC_TD_VERIFYVAR, "Verification text is a variable"},
                                   {IDC_TD_EXPANDEDVAR, "Expanded information is a variable"}})
        NameControl(designer, id, name);
    if (context.settings.targetFiles.empty()) {
        Enable(designer, IDC_TD_INSERT, false);
        EnableMenuItem(GetMenu(designer), IDC_TD_INSERT, MF_BYCOMMAND | MF_GRAYED);
    }
    // On a screen too small for it at its scale, the caption and the top
    // left stay within reach.
    SendMessageW(designer, DM_REPOSITION, 0, 0);
    if (context.edit) SetWindowTextW(designer, (EditTitle(context) + L" - Task dialog").c_str());
    ShowFields(designer, NewConfig(context));
    if (!data.statement.empty()) {
        Fields(designer).SetText(IDC_TD_CODE, ExpandLineFeeds(data.statement));
        if (!LoadStatement(designer, data.statement, false)) PostMessageW(designer, kReportUnrecognised, 0, 0);
    }
}

INT_PTR CALLBACK TaskDialogDesignerProc(HWND designer, UINT message, WPARAM wParam, LPARAM lParam) {
    AnswerScreenReaders(designer, message);
    DesignerData* data = DialogDataFor<DesignerData>(designer, message, lParam);
    if (data == nullptr) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(designer);
        SetDialogIcons(designer, data->context, false);
        return TRUE;
    case WM_COMMAND: OnCommand(designer, LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case kReportUnrecognised: ShowWarning(designer, data->unrecognised); return TRUE;
    case WM_HELP:
        ShowContextHelp(data->context.help, designer, *reinterpret_cast<const HELPINFO*>(lParam), kTaskDialogHelpTable);
        return TRUE;
    case WM_DPICHANGED:
        SetDialogIcons(designer, data->context, false);
        return FALSE;  // the dialog manager rescales the controls and the window
    case WM_CLOSE: EndDesigner(designer, 0); return TRUE;
    case WM_NCDESTROY:
        SetWindowLongPtrW(designer, DWLP_USER, 0);
        if (data->ownedByWindow) delete data;
        return FALSE;
    default: return FALSE;
    }
}

}  // namespace

INT_PTR RunTaskDialogDesigner(HWND owner, AppContext& context, const std::string& statement) {
    DesignerData data(context, statement);
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TASKDIALOG), owner,
                           GuardedDialogProc<TaskDialogDesignerProc>, reinterpret_cast<LPARAM>(&data));
}

HWND CreateTaskDialogDesignerForTesting(HWND owner, AppContext& context, const std::string& statement) {
    auto* data = new DesignerData(context, statement);
    data->ownedByWindow = true;
    HWND designer = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TASKDIALOG), owner,
                                       GuardedDialogProc<TaskDialogDesignerProc>, reinterpret_cast<LPARAM>(data));
    if (designer == nullptr) delete data;
    return designer;
}

void ShowTaskDialogFields(HWND designer, const TaskDialogConfig& config) { ShowFields(designer, config); }

DesignerReading ReadTaskDialogFields(HWND designer) { return ReadFields(designer); }

}  // namespace pw
