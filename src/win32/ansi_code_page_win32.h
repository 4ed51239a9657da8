// The machine's ANSI code page, for the check that refuses ANSI strings with
// characters it lacks.
#pragma once

#include "core/model/code_page.h"

namespace pw {

class AnsiCodePage final : public CodePage {
public:
    AnsiCodePage();
    bool Encode(char32_t codePoint, std::string& out) const override;

private:
    unsigned codePage_;  // GetACP() at start-up
};

}  // namespace pw
