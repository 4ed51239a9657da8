// LoadCode over any bytes: no crash, no read past the text, and the
// normalised text is never longer than the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/codeparse/code_reader.h"
#include "core/model/plain_form.h"

namespace {

class SilentReport : public pw::CodeReaderReport {
public:
    void Unrecognised() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    SilentReport report;
    for (pw::Layout layout : {pw::Layout::Simple, pw::Layout::Advanced}) {
        pw::PlainForm form(layout);
        std::string text = input;
        pw::LoadCode(form, text, report);
        if (text.size() > input.size()) __builtin_trap();
    }
    return 0;
}
