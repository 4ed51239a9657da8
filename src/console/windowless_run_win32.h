// -PRINT, -INSERT, -LIST and -VERSION: the program's work done without any window or
// message box, told on the standard handles.
#pragma once

#include "console/std_streams_win32.h"
#include "core/model/code_page.h"
#include "core/settings/app_settings.h"

namespace pw {

// Exit codes, the highest that applies.
inline constexpr int kExitDone = 0;      // every file changed, or the output written
inline constexpr int kExitNoMarker = 1;  // a file without an insertion marker
inline constexpr int kExitError = 2;     // anything that failed, bad options included

// Does what settings.windowless asks and returns the exit code. Output goes
// to streams.output; every message to streams.error, one line each, naming
// the file and what happened. Statements are read and written again with
// settings.codeOptions; -INSERT inserts as Insert in source does, with the
// markers of the settings, each file whole or not at all, and goes on with
// the next file after one that failed. Creates no window.
int RunWithoutWindow(const AppSettings& settings, const CodePage& codePage, const StandardStreams& streams);

}  // namespace pw
