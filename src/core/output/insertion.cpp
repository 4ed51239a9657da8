#include "core/output/insertion.h"

namespace pw {

ClipboardMode ClipboardModeFromSetting(int value) {
    switch (value) {
    case 1: return ClipboardMode::Ask;
    case 2: return ClipboardMode::CopyCode;
    case 3: return ClipboardMode::CopyFile;
    default: return ClipboardMode::None;
    }
}

}  // namespace pw
