// The data a dialog procedure works on: handed over as the dialog's creation
// parameter and kept in its DWLP_USER slot, so no procedure needs a global.
#pragma once

#include <windows.h>

namespace pw {

// At WM_INITDIALOG: keeps the creation parameter as the dialog's data.
template <typename T>
T* AttachDialogData(HWND dialog, LPARAM creationParameter) {
    SetWindowLongPtrW(dialog, DWLP_USER, creationParameter);
    return reinterpret_cast<T*>(creationParameter);
}

// The data attached at WM_INITDIALOG; null for the messages that come before.
template <typename T>
T* DialogData(HWND dialog) {
    return reinterpret_cast<T*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// The first lines of every dialog procedure: the data attached at
// WM_INITDIALOG, null for the messages that come before it.
template <typename T>
T* DialogDataFor(HWND dialog, UINT message, LPARAM lParam) {
    return message == WM_INITDIALOG ? AttachDialogData<T>(dialog, lParam) : DialogData<T>(dialog);
}

}  // namespace pw
