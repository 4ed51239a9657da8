// Test seam of InsertInSource: makes chosen steps of its file work fail, the
// way a full disk or a failing device would.
#pragma once

#include <functional>

namespace pw {

enum class FileStep {
    Read,       // one ReadFile call
    SetLength,  // one change of the file's length (grow, shrink or restore)
    Write,      // one WriteFile call
    Flush,      // FlushFileBuffers
};

// Called before each step with the step and how many steps of that kind the
// current InsertInSource call has begun, counting from 1 (restoring the file
// after a failure counts on). Returning true makes the step fail; a failing
// write still writes the first half of its bytes, as a write cut short does.
using FileFaultHook = std::function<bool(FileStep step, int count)>;

// Installs the hook; an empty one removes it.
void SetFileFaultHookForTesting(FileFaultHook hook);

}  // namespace pw
