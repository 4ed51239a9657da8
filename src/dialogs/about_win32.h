// The About box.
#pragma once

#include <windows.h>

namespace pw {

struct AppContext;

// The product's web address, the About box's link.
inline constexpr char kWebAddress[] = "https://promptwright.example/";

// Runs the About box modally over `owner`.
void RunAboutBox(HWND owner, const AppContext& context);

}  // namespace pw
