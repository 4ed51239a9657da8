#include "console/std_streams_win32.h"

#include <algorithm>
#include <utility>

namespace pw {
namespace {

// WriteFile and ReadFile take 32-bit counts; pipes take any piece size.
constexpr std::size_t kPiece = std::size_t{1} << 20;

bool IsHandle(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

UniqueHandle OpenConsole(const char* name, DWORD access) {
    return UniqueHandle(
        CreateFileA(name, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
}

}  // namespace

StandardHandle StandardHandle::Borrowed(HANDLE handle) {
    StandardHandle standard;
    standard.handle_ = handle;
    return standard;
}

StandardHandle StandardHandle::Owned(UniqueHandle handle) {
    StandardHandle standard;
    standard.handle_ = handle.Get();
    standard.owned_ = std::move(handle);
    return standard;
}

bool StandardHandle::Write(std::string_view text) const {
    if (!Present()) return true;
    while (!text.empty()) {
        DWORD written = 0;
        const DWORD want = static_cast<DWORD>(std::min(text.size(), kPiece));
        if (!WriteFile(handle_, text.data(), want, &written, nullptr) || written == 0) return false;
        text.remove_prefix(written);
    }
    return true;
}

std::optional<std::string> StandardHandle::ReadAll() const {
    std::string text;
    if (!Present()) return text;
    for (;;) {
        const std::size_t have = text.size();
        text.resize(have + kPiece);
        DWORD got = 0;
        if (!ReadFile(handle_, text.data() + have, static_cast<DWORD>(kPiece), &got, nullptr)) {
            text.resize(have);
            // The writer closed its end of the pipe: that is the end of the input.
            if (GetLastError() == ERROR_BROKEN_PIPE) return text;
            return std::nullopt;
        }
        text.resize(have + got);
        if (got == 0) return text;
    }
}

StandardStreams StandardStreams::OfProcess() {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    StandardStreams streams;
    streams.input = StandardHandle::Borrowed(input);
    streams.output = StandardHandle::Borrowed(output);
    streams.error = StandardHandle::Borrowed(error);
    if (IsHandle(output) && IsHandle(error)) return streams;
    // Started from a console without redirection: a GUI program gets no
    // handles of its own, but may write to its parent's console.
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return streams;
    if (!IsHandle(output)) streams.output = StandardHandle::Owned(OpenConsole("CONOUT$", GENERIC_READ | GENERIC_WRITE));
    if (!IsHandle(error)) streams.error = StandardHandle::Owned(OpenConsole("CONOUT$", GENERIC_READ | GENERIC_WRITE));
    if (!IsHandle(input)) streams.input = StandardHandle::Owned(OpenConsole("CONIN$", GENERIC_READ | GENERIC_WRITE));
    return streams;
}

}  // namespace pw
