#include "dialogs/load_code_win32.h"

#include "core/codeparse/code_reader.h"
#include "core/codeparse/task_dialog_reader.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/code_menu_win32.h"
#include "dialogs/warning_win32.h"
#include "win32/dialog_form_win32.h"

namespace pw {
namespace {

class MessageBoxReport : public CodeReaderReport {
public:
    void Unrecognised(std::string_view reason) override { ShowWarning(GetActiveWindow(), UnrecognisedMessage(reason)); }
};

}  // namespace

bool HandsOverToDesigner(const std::string& text, const AppContext& context) {
    return context.openTaskDialog && IsTaskDialogStatement(text);
}

bool LoadCodeIntoForm(HWND form, std::string text, AppContext& context) {
    if (HandsOverToDesigner(text, context)) {
        context.openTaskDialog(form, text);
        return true;
    }
    DialogForm dialog(form);
    MessageBoxReport report;
    CodeReading read{context.codeOptions, {}};
    if (!LoadCode(dialog, text, report, &read)) return false;
    // A structure statement's options are what the options dialog offers next.
    if (!read.params.structName.empty()) {
        context.paramsOptions = std::move(read.params);
        context.paramsFromStatement = true;
    }
    if (read.options != context.codeOptions) ChooseCodeOptions(form, context, read.options);
    return true;
}

}  // namespace pw
