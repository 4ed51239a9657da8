// The task-dialog statement: TaskDialog(...) when the configuration needs
// nothing more, otherwise the arrays, a TASKDIALOGCONFIG and the
// TaskDialogIndirect call. Task dialogs take wide strings only.
#pragma once

#include <optional>
#include <string>

#include "core/model/code_options.h"
#include "core/model/task_dialog.h"

namespace pw {

// What must be mended before a statement is written, as the message the
// designer shows; nothing when the configuration can be written:
//  - an owner that is empty or blank ("NULL" stands for none);
//  - a custom or radio button whose identifier is empty or blank;
//  - two custom buttons, or two radio buttons, with the same identifier;
//  - a custom button with the identifier of a checked common button (IDOK
//    with OK checked): the dialog could not tell the two apart, and the
//    switch would list the value twice;
//  - a variable text that is blank;
//  - a literal text (buttons' included) with a backslash (one not doubled)
//    at its end or before a quote, apostrophe, tab, line break or character
//    outside ASCII: backslashes are the user's C escapes (as in message-box
//    statements), and such a one would escape the writer's escape or the
//    closing quote instead;
//  - a literal text (buttons' included) with a lone surrogate:
//    kNoStringMessage, as LiteralTextProblem words it.
// Identifiers are compared by value where the program knows it: the dialog
// identifiers IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO,
// IDCLOSE, IDTRYAGAIN, IDCONTINUE and integer literals (1 is IDOK, 0x3E9 is
// 1001); other expressions by their text without white space.
std::optional<std::string> TaskDialogProblem(const TaskDialogConfig& config);

// The statement, lines separated by single '\n' as GenerateStatement's are,
// four-space indentation; no line ends inside a token and no line comment is
// written, so a QuickBox slot can drop the line breaks. Never cuts; call
// TaskDialogProblem first.
//
// Texts: an empty text is absent (NULL in the short call, no member in the
// structure), whether literal or variable; a variable is written as typed; a
// literal (UTF-8) as L"..." escaped as EscapeLiteral does for wide strings.
// The owner and every identifier are written as typed.
//
// The short form, when the configuration has nothing but owner, title, main
// instruction, content, main icon and common buttons (a default button or a
// width force the structure, as TaskDialog takes neither):
//     TaskDialog(NULL, NULL, L"Editor", L"Save changes?", NULL,
//                TDCBF_YES_BUTTON | TDCBF_NO_BUTTON, TD_WARNING_ICON, NULL);
//   (one line)
// Otherwise the structure form: the arrays of custom and radio buttons (when
// there are any), the declaration, ZeroMemory (zero-initialises in C and C++
// without -Wmissing-field-initializers, which "= {0}" draws from g++), cbSize,
// then only the members that are not zero, in the structure's order, and the
// call:
//     TASKDIALOG_BUTTON buttons[] = {
//         { IDC_SAVE, L"Save" },
//         { IDC_DISCARD, L"Discard" }
//     };
//     TASKDIALOG_BUTTON radioButtons[] = {
//         { 2001, L"This file" }
//     };
//     TASKDIALOGCONFIG config;
//     ZeroMemory(&config, sizeof(config));
//     config.cbSize = sizeof(config);
//     config.hwndParent = hwnd;                      (owner other than NULL)
//     config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_USE_COMMAND_LINKS;
//     config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
//     config.pszWindowTitle = L"Editor";
//     config.pszMainIcon = TD_WARNING_ICON;
//     config.pszMainInstruction = ...; config.pszContent = ...;
//     config.cButtons = ARRAYSIZE(buttons);
//     config.pButtons = buttons;
//     config.nDefaultButton = IDC_SAVE;
//     config.cRadioButtons = ARRAYSIZE(radioButtons);
//     config.pRadioButtons = radioButtons;
//     config.nDefaultRadioButton = 2001;
//     config.pszVerificationText, pszExpandedInformation,
//         pszExpandedControlText, pszCollapsedControlText = ...;
//     config.pszFooterIcon = TD_INFORMATION_ICON;
//     config.pszFooter = ...;
//     config.cxWidth = 200;
//     TaskDialogIndirect(&config, NULL, NULL, NULL);
// Flags are written in the order of their values: TDF_ENABLE_HYPERLINKS,
// TDF_ALLOW_DIALOG_CANCELLATION, TDF_USE_COMMAND_LINKS,
// TDF_EXPAND_FOOTER_AREA, TDF_EXPANDED_BY_DEFAULT,
// TDF_VERIFICATION_FLAG_CHECKED, TDF_POSITION_RELATIVE_TO_WINDOW,
// TDF_RTL_LAYOUT, TDF_NO_DEFAULT_RADIO_BUTTON, TDF_CAN_BE_MINIMIZED,
// TDF_SIZE_TO_CONTENT; common buttons in the order OK, Yes, No, Cancel,
// Retry, Close. Every field is written as it is set, also where another field
// makes it moot (a verification flag without a verification text), so that
// reading gives back what was written.
//
// `answer` If and Switch: `int nButton = 0;` is declared before the call
// (after the structure's declaration in the structure form, with
// `int nRadioButton = 0;` when there are radio buttons and
// `BOOL fVerificationFlagChecked = FALSE;` when there is a verification box),
// the call receives them (&nButton, ...), and after it follows
//     if (nButton == IDC_SAVE)          switch (nButton)
//     {                                 {
//     }                                 case IDC_SAVE:
//                                           break;
//                                       ...
//                                       }
// `if` tests the first custom button, else the first common button in the
// order above, else IDOK (a dialog without buttons shows OK). `switch` lists
// every button the dialog can return, each value once: the custom buttons in
// order, the common buttons in the order above, IDOK when there is neither,
// and IDCANCEL when the dialog allows cancellation. Both are written whatever
// the number of buttons, so that the answer option reads back. With None,
// nothing is received (NULL).
std::string WriteTaskDialog(const TaskDialogConfig& config, AnswerHandling answer = AnswerHandling::None);

}  // namespace pw
