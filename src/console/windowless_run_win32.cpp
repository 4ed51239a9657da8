#include "console/windowless_run_win32.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "core/codegen/expansion.h"
#include "core/convert/restate.h"
#include "core/model/utf8.h"
#include "core/settings/quickbox_slots.h"
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
        case WindowlessAction::Version: Output(std::string(VersionLine()) + "\r\n"); break;
        case WindowlessAction::Print:
            if (const std::optional<std::string> statement = Statement()) Print(*statement);
            break;
        case WindowlessAction::Insert:
            if (request_.files.empty()) {
                Tell("no target file: name the files to insert into after -INSERT");
                return kExitError;
            }
            if (const std::optional<std::string> statement = Statement()) Insert(ExpandLineFeeds(*statement));
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
