// The one place where the shell turns the core's UTF-8 into the UTF-16 of the
// W functions and back, and where text meets the ANSI code page (files and
// standard streams in the code page, narrow C literals).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace pw {

// UTF-8 to UTF-16. Bytes that make no character become U+FFFD; a lone
// surrogate in its three-byte form becomes that surrogate again.
std::wstring Utf16(std::string_view utf8);

// UTF-16 to UTF-8; a lone surrogate is kept (see core/model/utf8.h).
std::string Utf8(std::wstring_view utf16);
std::string Utf8(const wchar_t* utf16);  // null: empty

// Bytes in `codePage` (CP_ACP: the machine's ANSI code page) to UTF-8. Every
// byte reads as something: code page 1252's five undefined bytes as the C1
// controls of the same number, as Windows converts them.
std::string AnsiToUtf8(std::string_view bytes, UINT codePage = CP_ACP);

// UTF-8 to bytes in `codePage`; nothing when the code page lacks a character
// (no best-fit substitutes, never a '?'). `missing` (when given) gets the
// characters it lacks, each once, in the order of the text.
std::optional<std::string> Utf8ToAnsi(std::string_view utf8, UINT codePage = CP_ACP, std::u32string* missing = nullptr);

// Null-terminated UTF-16 for a W call: Wide("text").c_str().
inline std::wstring Wide(std::string_view utf8) { return Utf16(utf8); }

}  // namespace pw
