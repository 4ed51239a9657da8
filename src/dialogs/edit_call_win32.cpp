#include "dialogs/edit_call_win32.h"

#include <optional>

#include "core/codeparse/code_reader.h"
#include "core/codeparse/task_dialog_reader.h"
#include "core/model/plain_form.h"
#include "core/model/task_dialog.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/warning_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

std::string_view CallText(const EditSession& edit) {
    return edit.snapshot.Text().substr(edit.call.readStart, edit.call.readEnd - edit.call.readStart);
}

// Why the reader refuses the call, as Load code says it; empty when it reads it.
std::string Refusal(const EditSession& edit) {
    const std::string_view text = CallText(edit);
    if (edit.call.taskDialog) {
        TaskDialogConfig config;
        std::string problem;
        return ReadTaskDialog(text, config, nullptr, &problem) ? std::string() : UnrecognisedMessage(problem);
    }
    struct Report : CodeReaderReport {
        std::string message;
        void Unrecognised(std::string_view reason) override { message = UnrecognisedMessage(reason); }
    } report;
    PlainForm form(Layout::Advanced);
    return LoadCode(form, text, report) ? std::string() : report.message;
}

}  // namespace

std::wstring EditTitle(const AppContext& context) {
    if (!context.edit) return L"Promptwright";
    return L"Promptwright - " + Utf16(PlaceName(context.edit->path, {context.edit->at.line, 0}));
}

AnswerHandling EditAnswer(const AppContext& context) {
    return context.edit && !context.edit->call.ownStatement ? AnswerHandling::None : context.codeOptions.answer;
}

std::optional<std::string> OpenEditCall(AppContext& context) {
    auto edit = std::make_shared<EditSession>();
    edit->path = context.settings.windowless.files.front();
    edit->at = *context.settings.edit;
    if (const SnapshotOutcome read = ReadSourceSnapshot(edit->path, context.settings.asciiFiles, edit->snapshot);
        read != SnapshotOutcome::Read) {
        ShowWarning(nullptr, PlaceName(edit->path, edit->at) + ": " + SnapshotProblem(read));
        return std::nullopt;
    }
    const std::optional<FoundCall> call = FindCallAt(edit->snapshot.Text(), edit->at.line, edit->at.column);
    if (!call) {
        ShowWarning(nullptr, "No message box at " + PlaceName(edit->path, edit->at));
        return std::nullopt;
    }
    edit->call = *call;
    if (const std::string refusal = Refusal(*edit); !refusal.empty()) {
        ShowWarning(nullptr, refusal);
        return std::nullopt;
    }
    // Insert in source works on this file alone.
    context.settings.targetFiles = {edit->path};
    context.edit = edit;
    return std::string(CallText(*edit));
}

bool ReplaceEditedCall(HWND owner, const AppContext& context, std::string_view code) {
    EditSession& edit = *context.edit;
    std::string problem;
    const std::optional<CallReplacement> replacement = RewriteCall(edit.snapshot.Text(), edit.call, code, &problem);
    if (!replacement) {
        ShowWarning(owner, PlaceName(edit.path, edit.at) + ": " + problem + "; the file is unchanged");
        return false;
    }
    const CallWriteOutcome written = WriteCallReplacement(edit.path, edit.snapshot, *replacement);
    if (written == CallWriteOutcome::WrittenInPlace) ShowWarning(owner, CallWriteMessage(written, edit.path, {}));
    if (written != CallWriteOutcome::Written && written != CallWriteOutcome::WrittenInPlace) {
        ShowWarning(owner, CallWriteMessage(written, edit.path, replacement->text));
        return false;
    }
    // The window may stay open (InsertShutDown=0): the next Insert in source
    // replaces the call just written, in the file as it now is.
    // (The call's name is a view into the snapshot: found again after the move.)
    SourceSnapshot now;
    if (ReadSourceSnapshot(edit.path, context.settings.asciiFiles, now) != SnapshotOutcome::Read) return true;
    edit.snapshot = std::move(now);
    for (const FoundCall& call : FindCalls(edit.snapshot.Text())) {
        if (call.nameStart >= replacement->start && call.nameStart < replacement->start + replacement->text.size()) {
            edit.call = call;
            break;
        }
    }
    return true;
}

}  // namespace pw
