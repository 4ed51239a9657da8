#include "console/std_streams_win32.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/model/utf8.h"
#include "core/output/source_encoding.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

// WriteFile and ReadFile take 32-bit counts; pipes take any piece size.
constexpr std::size_t kPiece = std::size_t{1} << 20;

bool IsHandle(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

// Before Windows 8 a console handle is no kernel handle but a value whose two
// low bits are set (3, 7, 11, ...), which kernel32 passes to the console. A
// GUI program started from cmd.exe on Windows 7 is given its parent's as
// standard handles without being attached to that console, so that they work
// for nothing until it attaches (GetStdHandle, "Attach/detach behavior").
// Kernel handles never carry those bits: such a value is a console handle
// that works, or none at all. (Wine duplicates the standard handles into a
// new process, so a program there never receives these values.)
bool IsUsable(HANDLE handle) {
    if (!IsHandle(handle)) return false;
    if ((reinterpret_cast<std::uintptr_t>(handle) & 3) != 3) return true;
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != FALSE;
}

bool IsConsoleHandle(HANDLE handle) {
    DWORD mode = 0;
    return IsHandle(handle) && GetConsoleMode(handle, &mode) != FALSE;
}

UniqueHandle OpenConsole(const wchar_t* name, DWORD access) {
    return UniqueHandle(
        CreateFileW(name, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
}

}  // namespace

StandardHandle StandardHandle::Borrowed(HANDLE handle) {
    StandardHandle standard;
    standard.handle_ = handle;
    standard.console_ = IsConsoleHandle(handle);
    return standard;
}

StandardHandle StandardHandle::Owned(UniqueHandle handle) {
    StandardHandle standard;
    standard.handle_ = handle.Get();
    standard.console_ = IsConsoleHandle(handle.Get());
    standard.owned_ = std::move(handle);
    return standard;
}

bool StandardHandle::WriteBytes(std::string_view bytes) const {
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD want = static_cast<DWORD>(std::min(bytes.size(), kPiece));
        if (!WriteFile(handle_, bytes.data(), want, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool StandardHandle::WriteConsoleText(std::string_view text) const {
    const std::wstring wide = Utf16(text);
    std::wstring_view rest(wide);
    while (!rest.empty()) {
        std::size_t want = std::min(rest.size(), kPiece);
        // A piece never ends between the two halves of a pair.
        if (want < rest.size() && rest[want - 1] >= 0xD800 && rest[want - 1] <= 0xDBFF) --want;
        DWORD written = 0;
        if (!WriteConsoleW(handle_, rest.data(), static_cast<DWORD>(want), &written, nullptr) || written == 0)
            return false;
        rest.remove_prefix(std::min<std::size_t>(written, rest.size()));
    }
    return true;
}

StandardHandle::WriteResult StandardHandle::Write(std::string_view text, std::u32string* missing) const {
    if (!Present()) return WriteResult::Written;
    if (console_) return WriteConsoleText(text) ? WriteResult::Written : WriteResult::Failed;
    const std::optional<std::string> bytes = Utf8ToAnsi(text, CP_ACP, missing);
    if (!bytes) return WriteResult::Unencodable;
    return WriteBytes(*bytes) ? WriteResult::Written : WriteResult::Failed;
}

bool StandardHandle::WriteMessage(std::string_view text) const {
    std::u32string missing;
    switch (Write(text, &missing)) {
    case WriteResult::Written: return true;
    case WriteResult::Failed: return false;
    case WriteResult::Unencodable: break;
    }
    std::string named;
    named.reserve(text.size() + 8 * missing.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        const char32_t codePoint = static_cast<unsigned char>(text[i]) < 0x80 ? text[i++] : NextCodePoint(text, i);
        if (codePoint >= 0x80 && missing.find(codePoint) != std::u32string::npos)
            named += "<" + CodePointName(codePoint) + ">";
        else
            named.append(text.substr(start, i - start));
    }
    return Write(named) == WriteResult::Written;
}

std::optional<std::string> StandardHandle::ReadAll() const {
    std::string bytes;
    if (!Present()) return bytes;
    for (;;) {
        const std::size_t have = bytes.size();
        bytes.resize(have + kPiece);
        DWORD got = 0;
        if (!ReadFile(handle_, bytes.data() + have, static_cast<DWORD>(kPiece), &got, nullptr)) {
            bytes.resize(have);
            // The writer closed its end of the pipe: that is the end of the input.
            if (GetLastError() == ERROR_BROKEN_PIPE) break;
            return std::nullopt;
        }
        bytes.resize(have + got);
        if (got == 0) break;
    }
    // A console reads in its own input code page, which may differ from the
    // ANSI one.
    if (console_) return AnsiToUtf8(bytes, GetConsoleCP());
    // A pipe or a file says what it holds as a source file does: PowerShell 7
    // and many editors pipe UTF-8, Windows PowerShell's Out-File writes UTF-16.
    const SourceFileEncoding encoding = DecideSourceEncoding(bytes, AsciiFileEncoding::CodePage);
    const std::string_view text = std::string_view(bytes).substr(encoding.bomSize);
    switch (encoding.encoding) {
    case SourceEncoding::Utf8: return std::string(text);
    case SourceEncoding::Utf16Le:
    case SourceEncoding::Utf16Be: return DecodeUtf16(text, encoding.encoding);
    case SourceEncoding::CodePage: break;
    }
    return AnsiToUtf8(bytes, CP_ACP);
}

StandardStreams StandardStreams::OfProcess() {
    const auto usable = [](DWORD which) {
        const HANDLE handle = GetStdHandle(which);
        return IsUsable(handle) ? handle : nullptr;
    };
    const HANDLE input = usable(STD_INPUT_HANDLE);
    const HANDLE output = usable(STD_OUTPUT_HANDLE);
    const HANDLE error = usable(STD_ERROR_HANDLE);
    StandardStreams streams;
    streams.input = StandardHandle::Borrowed(input);
    streams.output = StandardHandle::Borrowed(output);
    streams.error = StandardHandle::Borrowed(error);
    if (output != nullptr && error != nullptr) return streams;
    // Started from a console without redirection: a GUI program gets no
    // handles of its own (or, on Windows 7, ones that do not work yet), but
    // may write to its parent's console.
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return streams;
    if (output == nullptr)
        streams.output = StandardHandle::Owned(OpenConsole(L"CONOUT$", GENERIC_READ | GENERIC_WRITE));
    if (error == nullptr) streams.error = StandardHandle::Owned(OpenConsole(L"CONOUT$", GENERIC_READ | GENERIC_WRITE));
    if (input == nullptr) streams.input = StandardHandle::Owned(OpenConsole(L"CONIN$", GENERIC_READ | GENERIC_WRITE));
    return streams;
}

}  // namespace pw
