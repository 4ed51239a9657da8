#include "core/convert/restate.h"

#include <utility>

#include "core/codegen/statement_writer.h"
#include "core/codegen/task_dialog_writer.h"
#include "core/codeparse/code_reader.h"
#include "core/codeparse/task_dialog_reader.h"
#include "core/model/plain_form.h"

namespace pw {
namespace {

// The options dialog's answers, here the ones the statement itself carried.
class KnownParams : public ParamsPrompt {
public:
    explicit KnownParams(ParamsOptions options) : options_(std::move(options)) {}
    ParamsOptions Run() override { return options_; }

private:
    ParamsOptions options_;
};

// Keeps the reader's reason, which the run without a window prints.
class KeptReport : public CodeReaderReport {
public:
    void Unrecognised(std::string_view reason) override { message = UnrecognisedMessage(reason); }
    std::string message;
};

}  // namespace

std::optional<std::string> RestateStatement(std::string_view text, CodeOptions options, const CodePage& codePage,
                                            std::string* problem) {
    auto refuse = [&](std::string message) -> std::optional<std::string> {
        if (problem) *problem = std::move(message);
        return std::nullopt;
    };
    if (IsTaskDialogStatement(text)) {
        TaskDialogConfig config;
        std::string unread;
        if (!ReadTaskDialog(text, config, nullptr, &unread)) return refuse("Unrecognised code: " + unread);
        if (std::optional<std::string> refused = TaskDialogProblem(config)) return refuse(std::move(*refused));
        return WriteTaskDialog(config, options.answer);
    }
    // The advanced layout has every control a statement can set (call form,
    // language).
    PlainForm form(Layout::Advanced);
    KeptReport report;
    CodeReading reading;
    if (!LoadCode(form, text, report, &reading)) return refuse(std::move(report.message));
    if (std::string refused = StatementTextProblem(form, options, codePage); !refused.empty())
        return refuse(std::move(refused));
    KnownParams params(std::move(reading.params));
    return GenerateStatement(form, params, options);
}

}  // namespace pw
