#include "console/windowless_run_win32.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "core/codegen/expansion.h"
#include "core/codeparse/call_finder.h"
#include "core/codeparse/code_reader.h"
#include "core/codeparse/task_dialog_reader.h"
#include "core/model/plain_form.h"
#include "core/model/task_dialog.h"
#include "core/convert/call_rewrite.h"
#include "core/convert/restate.h"
#include "core/model/utf8.h"
#include "core/settings/quickbox_slots.h"
#include "win32/call_edit_win32.h"
#include "win32/guard_win32.h"
#include "win32/insert_source_win32.h"
#include "win32/quickbox_store_win32.h"

namespace pw {
namespace {

constexpr char kProgram[] = "promptwright: ";

class Run {
public:
    Run(const AppSettings& settings, const CodePage& codePage, const StandardStreams& streams)
        : settings_(settings), request_(settings.windowless), codePage_(codePage), streams_(streams) {}

    int Go() {
        if (!request_.errors.empty()) {
            for (const std::string& error : request_.errors) Tell(error);
            return kExitError;
        }
        switch (request_.action) {
        case WindowlessAction::List: List(); break;
        case WindowlessAction::ListCalls:
            for (const std::string& file : request_.files) ListCalls(file);
            break;
        case WindowlessAction::Version: Output(std::string(VersionLine()) + "\r\n"); break;
        case WindowlessAction::Print:
        case WindowlessAction::Insert:
            if (request_.at) {
                AtPlace(request_.files.front(), *request_.at);
                break;
            }
            if (request_.action == WindowlessAction::Insert) {
                if (request_.files.empty()) {
                    Tell("no target file: name the files to insert into after -INSERT");
                    return kExitError;
                }
                if (const std::optional<std::string> statement = Statement()) Insert(ExpandLineFeeds(*statement));
                break;
            }
            if (const std::optional<std::string> statement = Statement()) Print(*statement);
            break;
        case WindowlessAction::None: break;
        }
        return exitCode_;
    }

private:
    void Tell(const std::string& message) { streams_.error.WriteMessage(kProgram + message + "\r\n"); }

    void Fail(int code, const std::string& message) {
        Tell(message);
        exitCode_ = std::max(exitCode_, code);
    }

    void Output(std::string_view text) {
        std::u32string missing;
        switch (streams_.output.Write(text, &missing)) {
        case StandardHandle::WriteResult::Written: break;
        case StandardHandle::WriteResult::Failed: Fail(kExitError, "Error while writing standard output"); break;
        case StandardHandle::WriteResult::Unencodable: {
            std::string names;
            for (char32_t c : missing) names += (names.empty() ? "" : " ") + CodePointName(c);
            Fail(kExitError,
                 "Error while writing standard output: the ANSI code page lacks " + names + "; nothing was written");
            break;
        }
        }
    }

    void List() {
        std::string text;
        for (const std::string& slot : QuickBoxSlotNames(settings_.settingsPath)) text += slot + "\r\n";
        Output(text);
    }

    // The file in its encoding; false, told, when it cannot be read.
    bool ReadSnapshot(const std::string& path, SourceSnapshot& snapshot) {
        const SnapshotOutcome read = ReadSourceSnapshot(path, settings_.asciiFiles, snapshot);
        if (read != SnapshotOutcome::Read) Fail(kExitError, path + ": " + SnapshotProblem(read));
        return read == SnapshotOutcome::Read;
    }

    // Every call of the file, one a line: "main.c:120:9: MessageBoxA: ok",
    // or what keeps the reader from reading it exactly.
    void ListCalls(const std::string& path) {
        SourceSnapshot snapshot;
        if (!ReadSnapshot(path, snapshot)) return;
        const std::string_view text = snapshot.Text();
        std::string out;
        for (const FoundCall& call : FindCalls(text)) {
            out += path + ":" + std::to_string(call.line) + ":" + std::to_string(call.column) + ": ";
            out += call.name;
            const std::optional<std::string> problem =
                ReadProblem(text.substr(call.readStart, call.readEnd - call.readStart), call.taskDialog);
            if (problem) {
                out += ": not read exactly: " + (problem->empty() ? std::string("unrecognised code") : *problem) + "\r\n";
                continue;
            }
            out += ": ok";
            if (!call.rewriteProblem.empty()) out += "; not replaced in place: " + std::string(call.rewriteProblem);
            out += "\r\n";
        }
        Output(out);
    }

    // Why the reader refuses the call's text (empty: no reason given), or
    // nothing when it reads it.
    std::optional<std::string> ReadProblem(std::string_view text, bool taskDialog) {
        if (taskDialog) {
            TaskDialogConfig config;
            std::string problem;
            if (ReadTaskDialog(text, config, nullptr, &problem)) return std::nullopt;
            return problem;
        }
        struct Report : CodeReaderReport {
            std::string reason;
            bool refused = false;
            void Unrecognised(std::string_view why) override {
                reason = why;
                refused = true;
            }
        } report;
        if (LoadCode(listForm_, text, report)) return std::nullopt;
        return report.reason;
    }

    // -PRINT:@ and -INSERT:@: the call at a place of one file, written again
    // with the code options; -INSERT puts it in the call's place.
    void AtPlace(const std::string& path, SourcePosition at) {
        SourceSnapshot snapshot;
        if (!ReadSnapshot(path, snapshot)) return;
        const std::string_view text = snapshot.Text();
        const std::optional<FoundCall> call = FindCallAt(text, at.line, at.column);
        if (!call) {
            Fail(kExitError, "No message box at " + PlaceName(path, at));
            return;
        }
        // Inside other code only the call itself is written.
        CodeOptions options = settings_.codeOptions;
        if (!call->ownStatement) options.answer = AnswerHandling::None;
        const std::string_view callText = text.substr(call->readStart, call->readEnd - call->readStart);
        std::string problem;
        const std::optional<std::string> statement = RestateStatement(callText, options, codePage_, &problem);
        if (!statement) {
            // The reader's reason, as Load code gives it.
            if (problem.empty()) problem = UnrecognisedMessage(ReadProblem(callText, call->taskDialog).value_or(""));
            Fail(kExitError, PlaceName(path, at) + ": " + problem);
            return;
        }
        if (request_.action == WindowlessAction::Print) {
            Print(*statement);
            return;
        }
        const std::optional<CallReplacement> replacement = RewriteCall(text, *call, *statement, &problem);
        if (!replacement) {
            Fail(kExitError, PlaceName(path, at) + ": " + problem + "; the file is unchanged");
            return;
        }
        const CallWriteOutcome written = WriteCallReplacement(path, snapshot, *replacement);
        if (written == CallWriteOutcome::WrittenInPlace)
            Tell(CallWriteMessage(written, path, replacement->text));
        else if (written != CallWriteOutcome::Written)
            Fail(kExitError, CallWriteMessage(written, path, replacement->text));
    }

    // The statement asked for, read and written again under the options in
    // force; nothing (after telling why) when there is none to use whole.
    std::optional<std::string> Statement() {
        std::string text;
        std::string source;
        if (request_.fromStandardInput) {
            source = "standard input";
            std::optional<std::string> input = streams_.input.ReadAll();
            if (!input) {
                Fail(kExitError, "Error while reading standard input");
                return std::nullopt;
            }
            text = std::move(*input);
        } else {
            const std::string& slot = request_.slot;
            source = "QuickBox slot '" + slot + "' in " + settings_.settingsPath;
            SlotValue value = ReadQuickBoxSlot(settings_.settingsPath, slot);
            if (value.state == SlotState::Missing) {
                Fail(kExitError, "no QuickBox slot named '" + slot + "' in " + settings_.settingsPath);
                return std::nullopt;
            }
            if (value.state == SlotState::TooLong) {
                Fail(kExitError, source + " is too long to be read whole (more than " +
                                     std::to_string(kLongestSlotValue) + " characters); it was not used");
                return std::nullopt;
            }
            text = std::move(value.statement);
        }
        std::string problem;
        std::optional<std::string> statement = RestateStatement(text, settings_.codeOptions, codePage_, &problem);
        if (!statement) Fail(kExitError, source + ": " + (problem.empty() ? "Unrecognised code" : problem));
        return statement;
    }

    // Every line, the last included, ends with CR LF.
    void Print(const std::string& statement) { Output(ExpandLineFeeds(statement) + "\r\n"); }

    void Insert(const std::string& code) {
        for (const std::string& file : request_.files) {
            switch (InsertInSource(code, file, settings_.markers, settings_.asciiFiles)) {
            case InsertOutcome::Inserted: break;
            case InsertOutcome::InsertedInPlace: Tell(file + ": " + std::string(kInPlaceNote)); break;
            case InsertOutcome::NoMarker: Fail(kExitNoMarker, file + ": no insertion marker"); break;
            case InsertOutcome::OpenFailed: Fail(kExitError, file + ": Error while opening file"); break;
            case InsertOutcome::ReadFailed:
                Fail(kExitError, file + ": Error while reading file; the file is unchanged");
                break;
            case InsertOutcome::WriteFailed:
                Fail(kExitError, file + ": Error while writing file; the file is unchanged");
                break;
            case InsertOutcome::WriteFailedDamaged:
                Fail(kExitError, file + ": Error while writing file; the file may be damaged");
                break;
            case InsertOutcome::Unencodable:
                Fail(kExitError, file + ": " + UnencodableReason(code) + "; the file is unchanged");
                break;
            }
        }
    }

    const AppSettings& settings_;
    const WindowlessRequest& request_;
    const CodePage& codePage_;
    const StandardStreams& streams_;
    int exitCode_ = kExitDone;
    PlainForm listForm_{Layout::Advanced};
};

}  // namespace

static_assert(kExitError == kEscapedExceptionExit);

int RunWithoutWindow(const AppSettings& settings, const CodePage& codePage, const StandardStreams& streams) {
    try {
        return Run(settings, codePage, streams).Go();
    } catch (...) {  // a standard input too large for a 32-bit address space, say
        try {
            streams.error.WriteMessage(kProgram + EscapedExceptionText() + "\r\n");
        } catch (...) {  // not even the message fits: the exit code tells
        }
        return kExitError;
    }
}

}  // namespace pw
