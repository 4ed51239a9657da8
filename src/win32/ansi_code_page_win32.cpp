#include "win32/ansi_code_page_win32.h"

#include <windows.h>

namespace pw {

AnsiCodePage::AnsiCodePage() : codePage_(GetACP()) {}

bool AnsiCodePage::Encode(char32_t codePoint, std::string& out) const {
    wchar_t units[2];
    int count = 1;
    if (codePoint >= 0x10000) {
        units[0] = static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        count = 2;
    } else {
        units[0] = static_cast<wchar_t>(codePoint);
    }
    char bytes[8] = {};
    BOOL usedDefault = FALSE;
    const bool utf8 = codePage_ == CP_UTF8;
    const int got = WideCharToMultiByte(codePage_, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, units, count, bytes, sizeof bytes,
                                        nullptr, utf8 ? nullptr : &usedDefault);
    if (got <= 0 || usedDefault) return false;
    out.append(bytes, static_cast<std::size_t>(got));
    return true;
}

}  // namespace pw
