// ReadStyle over any bytes: no crash; what it reads sets lists only at
// positions they have, and the style written from that form reads back the
// same (the Other style terms included).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/codegen/style_expression.h"
#include "core/lex/c_lexer.h"
#include "core/codeparse/style_reader.h"
#include "core/model/option_tables.h"
#include "core/model/plain_form.h"
#include "res/resource.h"

namespace {

bool Same(pw::StyleReading a, pw::StyleReading b) {
    std::sort(a.checked.begin(), a.checked.end());
    std::sort(b.checked.begin(), b.checked.end());
    return a.buttons == b.buttons && a.defButton == b.defButton && a.icon == b.icon && a.modality == b.modality &&
           a.checked == b.checked && a.other == b.other;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view style(reinterpret_cast<const char*>(data), size);
    pw::StyleReading reading;
    std::string problem;
    if (!pw::ReadStyle(pw::Tokenize(style), reading, problem)) {
        if (problem.empty()) __builtin_trap();
        return 0;
    }
    pw::PlainForm form(pw::Layout::Advanced);
    const int previews = form.iconPreviewUpdates;
    pw::ApplyStyle(reading, form);
    if (form.iconPreviewUpdates != previews + 1) __builtin_trap();
    for (int id : {IDC_BUTTONS, IDC_DEFBUTTON, IDC_ICON}) {
        const int position = form.ListPosition(id);
        if (position < 0 || position >= pw::FixedListSize(id)) __builtin_trap();
    }
    const std::string written = pw::BuildStyleExpression(form);
    pw::StyleReading again;
    if (!pw::ReadStyle(pw::Tokenize(written), again, problem) || !Same(reading, again)) __builtin_trap();
    return 0;
}
