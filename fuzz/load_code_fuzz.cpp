// LoadCode over any bytes: no crash, no read past the text, the options read
// are ones that exist (or, for unrecognised text, the ones the caller had),
// and a refusal leaves the form as it was.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/codeparse/code_reader.h"
#include "core/model/plain_form.h"
#include "res/resource.h"

namespace {

class SilentReport : public pw::CodeReaderReport {
public:
    void Unrecognised(std::string_view) override {}
};

bool Exists(const pw::CodeOptions& options) {
    const int set = pw::SettingValue(options.characterSet);
    const int answer = pw::SettingValue(options.answer);
    return set >= 0 && set <= 2 && answer >= 0 && answer <= 2;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    SilentReport report;
    for (pw::Layout layout : {pw::Layout::Simple, pw::Layout::Advanced}) {
        pw::PlainForm form(layout);
        form.SetText(IDC_TEXT, "before");
        const pw::CodeOptions before{pw::CharacterSet::Text, pw::AnswerHandling::Switch};
        pw::CodeReading reading{before, {}};
        const bool recognised = pw::LoadCode(form, input, report, &reading);
        if (!Exists(reading.options) || (!recognised && !(reading.options == before))) __builtin_trap();
        if (!recognised && form.Text(IDC_TEXT) != "before") __builtin_trap();
    }
    return 0;
}
