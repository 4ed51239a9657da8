#include "win32/text_win32.h"

#include <algorithm>

#include "core/model/utf8.h"

namespace pw {
namespace {

void AppendUtf16(std::wstring& out, char32_t codePoint) {
    if (codePoint >= 0x10000) {
        out.push_back(static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF)));
    } else {
        out.push_back(static_cast<wchar_t>(codePoint));
    }
}

bool IsHigh(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLow(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::wstring Utf16(std::string_view utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        // Runs of ASCII, the common case, without decoding.
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            out.push_back(static_cast<wchar_t>(byte));
            ++i;
            continue;
        }
        AppendUtf16(out, NextCodePoint(utf8, i));
    }
    return out;
}

std::string Utf8(std::wstring_view utf16) {
    std::string out;
    out.reserve(utf16.size() + utf16.size() / 2);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const wchar_t unit = utf16[i];
        if (unit < 0x80) {
            out.push_back(static_cast<char>(unit));
        } else if (IsHigh(unit) && i + 1 < utf16.size() && IsLow(utf16[i + 1])) {
            AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (utf16[i + 1] - 0xDC00));
            ++i;
        } else {
            AppendUtf8(out, unit);  // a lone surrogate stays one
        }
    }
    return out;
}

std::string Utf8(const wchar_t* utf16) { return utf16 != nullptr ? Utf8(std::wstring_view(utf16)) : std::string(); }

std::string AnsiToUtf8(std::string_view bytes, UINT codePage) {
    if (bytes.empty()) return {};
    // In pieces, so that no count passes what an int holds; a piece ends
    // before a lead byte so that no double-byte character is cut.
    std::string out;
    out.reserve(bytes.size());
    constexpr std::size_t kPiece = 1 << 24;
    std::wstring wide;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = std::min(bytes.size(), start + kPiece);
        if (end < bytes.size()) {
            std::size_t k = start;
            std::size_t safe = start;
            while (k < end) {
                const bool lead = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[k]));
                k += lead ? 2 : 1;
                if (k <= end) safe = k;
            }
            if (safe > start) end = safe;
        }
        const int length = static_cast<int>(end - start);
        const int units = MultiByteToWideChar(codePage, 0, bytes.data() + start, length, nullptr, 0);
        wide.resize(static_cast<std::size_t>(std::max(units, 0)));
        if (units > 0) MultiByteToWideChar(codePage, 0, bytes.data() + start, length, wide.data(), units);
        out += Utf8(wide);
        start = end;
    }
    return out;
}

std::optional<std::string> Utf8ToAnsi(std::string_view utf8, UINT codePage, std::u32string* missing) {
    const UINT actual = codePage == CP_ACP ? GetACP() : codePage;
    const bool utf8Page = actual == CP_UTF8;
    std::string out;
    out.reserve(utf8.size());
    bool complete = true;
    std::size_t i = 0;
    std::wstring units;
    while (i < utf8.size()) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if (byte < 0x80) {
            out.push_back(static_cast<char>(byte));
            ++i;
            continue;
        }
        const char32_t codePoint = NextCodePoint(utf8, i);
        units.clear();
        AppendUtf16(units, codePoint);
        char bytes[8] = {};
        BOOL usedDefault = FALSE;
        int got = 0;
        if (!IsSurrogate(codePoint))
            got = WideCharToMultiByte(actual, utf8Page ? 0 : WC_NO_BEST_FIT_CHARS, units.data(),
                                      static_cast<int>(units.size()), bytes, sizeof bytes, nullptr,
                                      utf8Page ? nullptr : &usedDefault);
        if (got <= 0 || usedDefault) {
            complete = false;
            if (missing == nullptr) return std::nullopt;
            if (missing->find(codePoint) == std::u32string::npos) missing->push_back(codePoint);
            continue;
        }
        out.append(bytes, static_cast<std::size_t>(got));
    }
    if (!complete) return std::nullopt;
    return out;
}

}  // namespace pw
