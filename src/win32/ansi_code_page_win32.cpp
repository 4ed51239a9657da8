#include "win32/ansi_code_page_win32.h"

#include <windows.h>

namespace pw {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// UTF-8 has no lead-byte table: the lead byte tells the length.
std::size_t Utf8Length(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2) return 2;
    return 1;
}

}  // namespace

AnsiCodePage::AnsiCodePage() : codePage_(GetACP()) {}

DecodedCharacter AnsiCodePage::Decode(std::string_view bytes) const {
    const auto lead = static_cast<unsigned char>(bytes.front());
    std::size_t length = 1;
    if (codePage_ == CP_UTF8)
        length = Utf8Length(lead);
    else if (IsDBCSLeadByteEx(codePage_, lead))
        length = 2;
    if (length > bytes.size()) length = 1;

    wchar_t units[2] = {};
    const int got =
        MultiByteToWideChar(codePage_, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(length), units, 2);
    if (got == 1) return {units[0], length};
    if (got == 2 && units[0] >= 0xD800 && units[0] <= 0xDBFF && units[1] >= 0xDC00 && units[1] <= 0xDFFF)
        return {0x10000 + ((static_cast<char32_t>(units[0]) - 0xD800) << 10) + (units[1] - 0xDC00), length};
    return {kReplacement, 1};
}

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
