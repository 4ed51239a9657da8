// UTF-8 and UTF-16 for test code that calls the W functions itself: the
// end-to-end tests do not link the shell's conversions, so these build on the
// core's UTF-8 reading (lone surrogates kept, as the shell keeps them).
#pragma once

#include <string>
#include <string_view>

#include "core/model/utf8.h"

namespace test {

inline std::wstring Wide(std::string_view utf8) {
    std::wstring out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const char32_t c = pw::NextCodePoint(utf8, i);
        if (c >= 0x10000) {
            out.push_back(static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<wchar_t>(c));
        }
    }
    return out;
}

inline std::string Narrow(std::wstring_view utf16) {
    std::string out;
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        pw::AppendUtf8(out, c);
    }
    return out;
}

}  // namespace test
