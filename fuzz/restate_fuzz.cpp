// RestateStatement over any bytes: no crash, no read past the text, and what
// it writes is always a statement it reads again. Written again, or refused
// with a message: a variable that reads back as a literal (one that starts
// with a quote) is checked for the characters its string mode holds only then.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/convert/restate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    // The length picks the code options, so that the seeds stay statements.
    const pw::CodeOptions options{static_cast<pw::CharacterSet>(size % 3),
                                  static_cast<pw::AnswerHandling>(size / 3 % 3)};
    const auto once = pw::RestateStatement(input, options);
    std::string problem;
    if (once && !pw::RestateStatement(*once, options, pw::Windows1252(), &problem) && problem.empty()) __builtin_trap();
    return 0;
}
