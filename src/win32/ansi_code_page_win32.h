// The machine's ANSI code page (the one the form's text is in), for the
// writer's and the reader's universal character names.
#pragma once

#include "core/model/code_page.h"

namespace pw {

class AnsiCodePage final : public CodePage {
public:
    AnsiCodePage();
    DecodedCharacter Decode(std::string_view bytes) const override;
    bool Encode(char32_t codePoint, std::string& out) const override;

private:
    unsigned codePage_;  // GetACP() at start-up
};

}  // namespace pw
