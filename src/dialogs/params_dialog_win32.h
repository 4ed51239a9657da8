// The MessageBoxIndirect options dialog and the writer's way to run it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "core/codegen/statement_writer.h"
#include "core/model/form.h"

namespace pw {

struct AppContext;

// Runs the options dialog modally over `owner`. Which fields apply is read
// from `form` before the dialog opens (the conditions under which the writer
// uses them); OK stores the fields in the context's paramsOptions, which
// otherwise keep the options of the last OK. Closed while no OK was ever
// given, there are no options: Stopped() tells, and the statement is void.
class ParamsDialogPrompt : public ParamsPrompt {
public:
    ParamsDialogPrompt(const Form& form, HWND owner, AppContext& context)
        : form_(form), owner_(owner), context_(context) {}
    ParamsOptions Run() override;
    bool Stopped() const { return stopped_; }

private:
    const Form& form_;
    HWND owner_;
    AppContext& context_;
    bool stopped_ = false;
};

// The statement for a live main form (runs the options dialog for the
// MessageBoxIndirect form). Every command that writes it (Generate code, Copy
// to clipboard, Insert in source, QuickBox Set) comes here, so a text the
// string mode cannot hold is refused here for all of them: the user is told
// in a warning box owned by `form`, before the options dialog, and there is
// no statement. Nor is there one when the options dialog is closed before its
// first OK: a statement without a structure name would not compile.
std::optional<std::string> GenerateFromDialog(HWND form, AppContext& context);

}  // namespace pw
