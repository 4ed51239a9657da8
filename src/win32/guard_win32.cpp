#include "win32/guard_win32.h"

#include <new>

#include "win32/text_win32.h"

namespace pw {

std::string EscapedExceptionText() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "Out of memory; the program ends";
    } catch (const std::exception& e) {
        return std::string("Unexpected error (") + e.what() + "); the program ends";
    } catch (...) {
        return "Unexpected error; the program ends";
    }
}

void EndAfterEscapedException() {
    std::wstring text = L"Unexpected error; the program ends";
    try {
        text = Utf16(EscapedExceptionText());
    } catch (...) {  // no memory left even for the message: the plain one
    }
    MessageBoxW(nullptr, text.c_str(), nullptr, MB_ICONERROR | MB_OK | MB_TASKMODAL);
    ExitProcess(kEscapedExceptionExit);
}

}  // namespace pw
