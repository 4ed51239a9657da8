// Names and numbers as the Windows headers and a C compiler give them: the
// MB_ constants, the LANG_ and SUBLANG_ names, and integer literals.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace pw {

// The value of an MB_ constant of <winuser.h> (every alias and the masks).
std::optional<std::uint32_t> MessageBoxConstant(std::string_view name);

// The value of a LANG_ or SUBLANG_ name of <winnt.h>; LANG_USER_DEFAULT and
// LANG_SYSTEM_DEFAULT are whole language identifiers.
std::optional<std::uint32_t> LanguageConstant(std::string_view name);

// The value of a C or C++ integer literal in any base (0x1F, 0b101, 017,
// 1033), with digit separators and the suffixes u, l, ll, z and Visual C++'s
// i8..i64; nothing for anything else or a value beyond 64 bits.
std::optional<std::uint64_t> IntegerLiteralValue(std::string_view text);

}  // namespace pw
