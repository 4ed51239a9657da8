// A task dialog as the designer composes it: what the writer turns into a
// TaskDialog or TaskDialogIndirect statement and the reader fills in again.
// Texts are UTF-8, as the form's texts are; the writer makes wide literals
// of them.
#pragma once

#include <string>
#include <vector>

namespace pw {

// The icon choices of the main and the footer icon, in the order of the
// designer's lists.
enum class TaskIcon {
    None = 0,
    Warning = 1,      // TD_WARNING_ICON
    Error = 2,        // TD_ERROR_ICON
    Information = 3,  // TD_INFORMATION_ICON
    Shield = 4,       // TD_SHIELD_ICON
};

// The common buttons; the values are those of TDCBF_*.
enum TaskCommonButton : unsigned {
    kTaskOk = 0x01,      // TDCBF_OK_BUTTON, IDOK
    kTaskYes = 0x02,     // TDCBF_YES_BUTTON, IDYES
    kTaskNo = 0x04,      // TDCBF_NO_BUTTON, IDNO
    kTaskCancel = 0x08,  // TDCBF_CANCEL_BUTTON, IDCANCEL
    kTaskRetry = 0x10,   // TDCBF_RETRY_BUTTON, IDRETRY
    kTaskClose = 0x20,   // TDCBF_CLOSE_BUTTON, IDCLOSE
};

// A text field: a literal text, or (where the designer offers it) a C
// expression written as typed.
struct TaskText {
    std::string text;
    bool variable = false;
    bool operator==(const TaskText&) const = default;
};

// A custom button or a radio button. `id` is a C expression (IDOK, 1001,
// IDC_SAVE); `text` is literal. For a command link, a line feed in the text
// starts the note.
struct TaskButton {
    std::string id;
    std::string text;
    bool operator==(const TaskButton&) const = default;
};

struct TaskDialogConfig {
    std::string owner = "NULL";  // owner-window expression, as the main form's Parent list offers
    TaskText title;
    TaskText mainInstruction;
    TaskText content;  // may hold line breaks (CR LF in the designer)
    TaskIcon mainIcon = TaskIcon::None;
    unsigned commonButtons = 0;  // TaskCommonButton bits

    std::vector<TaskButton> buttons;  // custom buttons, in order
    bool commandLinks = false;        // TDF_USE_COMMAND_LINKS
    std::string defaultButton;        // identifier expression; empty: the system's choice

    std::vector<TaskButton> radioButtons;
    std::string defaultRadioButton;  // identifier expression; empty: the first
    bool noDefaultRadioButton = false;  // TDF_NO_DEFAULT_RADIO_BUTTON

    TaskText verification;  // empty text: no verification box
    bool verificationChecked = false;  // TDF_VERIFICATION_FLAG_CHECKED

    TaskText expandedInformation;  // empty text: no expando
    bool expandedByDefault = false;  // TDF_EXPANDED_BY_DEFAULT
    bool expandFooterArea = false;   // TDF_EXPAND_FOOTER_AREA
    TaskText expandedControlText;
    TaskText collapsedControlText;

    TaskText footer;
    TaskIcon footerIcon = TaskIcon::None;

    bool allowCancellation = false;         // TDF_ALLOW_DIALOG_CANCELLATION
    bool enableHyperlinks = false;          // TDF_ENABLE_HYPERLINKS
    bool canBeMinimized = false;            // TDF_CAN_BE_MINIMIZED
    bool positionRelativeToWindow = false;  // TDF_POSITION_RELATIVE_TO_WINDOW
    bool rtlLayout = false;                 // TDF_RTL_LAYOUT
    bool sizeToContent = false;             // TDF_SIZE_TO_CONTENT

    unsigned width = 0;  // cxWidth in dialog units; 0: the system's choice

    // What code read from elsewhere sets that the designer has no control
    // for, kept as written (C expressions) and written back; empty: none.
    // The designer carries them over unseen.
    std::string instance;                  // hInstance (the short call's second argument)
    std::string mainIconSource;            // an icon the list lacks (MAKEINTRESOURCEW(IDI_APP)); used with mainIcon None
    bool mainIconHandle = false;           // mainIconSource is an HICON, set as hMainIcon
    std::string footerIconSource;          // likewise pszFooterIcon / hFooterIcon
    bool footerIconHandle = false;
    std::vector<std::string> otherFlags;   // dwFlags terms without a box (TDF_CALLBACK_TIMER, a variable, 0x200)
    std::vector<std::string> otherCommonButtons;  // dwCommonButtons terms without a box
    // Buttons the program fills itself (an array not initialised in the
    // statement): pButtons and cButtons as written.
    std::string buttonsSource, buttonCountSource;
    std::string radioButtonsSource, radioButtonCountSource;
    std::string callback, callbackData;    // pfCallback, lpCallbackData
    // The call's out-parameters as written (&selectedId), where the answer
    // handling does not declare its own.
    std::string resultButton, resultRadioButton, resultVerification;

    bool operator==(const TaskDialogConfig&) const = default;
};

}  // namespace pw
