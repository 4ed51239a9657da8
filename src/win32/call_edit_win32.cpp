#include "win32/call_edit_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "win32/insert_source_win32.h"
#include "win32/raii_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

std::string FileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The byte offset in a code-page text (after its mark) of a UTF-8 offset in
// its reading: ASCII is the same in every ANSI code page; any other
// character is converted alone (a lead byte takes its trail byte with it).
// IsDBCSLeadByteEx only tells a potential lead byte and does not check the
// trail byte, so a walk like this can fall out of step with
// MultiByteToWideChar: the caller checks that the stretch found reads back
// as the call's text, and writes nothing otherwise.
std::optional<std::size_t> CodePageOffset(std::string_view bytes, std::size_t utf8Offset) {
    std::size_t b = 0, u = 0;
    while (u < utf8Offset && b < bytes.size()) {
        const unsigned char c = static_cast<unsigned char>(bytes[b]);
        if (c < 0x80) {
            ++b;
            ++u;
            continue;
        }
        const std::size_t length = IsDBCSLeadByteEx(CP_ACP, c) && b + 1 < bytes.size() ? 2 : 1;
        u += AnsiToUtf8(bytes.substr(b, length)).size();
        b += length;
    }
    if (u != utf8Offset) return std::nullopt;
    return b;
}

}  // namespace

SnapshotOutcome ReadSourceSnapshot(const std::string& path, AsciiFileEncoding asciiFiles, SourceSnapshot& snapshot) {
    const UniqueHandle file(CreateFileW(Utf16(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid()) return SnapshotOutcome::OpenFailed;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > snapshot.bytes.max_size())
        return SnapshotOutcome::ReadFailed;
    std::string& bytes = snapshot.bytes;
    Utf8Check check;
    try {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const DWORD want = static_cast<DWORD>(std::min(bytes.size() - done, kReadPiece));
            DWORD got = 0;
            if (!ReadFile(file.Get(), bytes.data() + done, want, &got, nullptr)) return SnapshotOutcome::ReadFailed;
            if (got == 0) break;
            check.Add(std::string_view(bytes).substr(done, got));
            done += got;
        }
        bytes.resize(done);
        snapshot.encoding = DecideSourceEncoding(bytes, check, asciiFiles);
        const std::string_view body = std::string_view(bytes).substr(snapshot.encoding.bomSize);
        switch (snapshot.encoding.encoding) {
        case SourceEncoding::Utf8: break;
        case SourceEncoding::CodePage:
            if (check.BeyondAscii() || !check.Valid()) snapshot.SetText(AnsiToUtf8(body));
            break;
        case SourceEncoding::Utf16Le:
        case SourceEncoding::Utf16Be: snapshot.SetText(DecodeUtf16(body, snapshot.encoding.encoding)); break;
        }
    } catch (const std::exception&) {  // too large to hold
        return SnapshotOutcome::ReadFailed;
    }
    return SnapshotOutcome::Read;
}

std::string PlaceName(const std::string& path, SourcePosition position) {
    std::string place = FileName(path) + ":" + std::to_string(position.line);
    if (position.column > 0) place += ":" + std::to_string(position.column);
    return place;
}

std::string SnapshotProblem(SnapshotOutcome outcome) {
    return outcome == SnapshotOutcome::OpenFailed ? "Error while opening file" : "Error while reading file";
}

CallWriteOutcome WriteCallReplacement(const std::string& path, const SourceSnapshot& snapshot,
                                      const CallReplacement& replacement) {
    const std::string_view text = snapshot.Text();
    const std::size_t bom = snapshot.encoding.bomSize;
    const std::string_view body = std::string_view(snapshot.bytes).substr(bom);
    std::size_t start = replacement.start, end = replacement.end;
    std::optional<std::string> bytes;
    switch (snapshot.encoding.encoding) {
    case SourceEncoding::Utf8: bytes = replacement.text; break;
    case SourceEncoding::Utf16Le:
    case SourceEncoding::Utf16Be:
        start = 2 * Utf16UnitsBefore(text, start);
        end = 2 * Utf16UnitsBefore(text, end);
        bytes = EncodeUtf16(replacement.text, snapshot.encoding.encoding);
        break;
    case SourceEncoding::CodePage:
        if (text.data() != body.data()) {  // converted: beyond ASCII
            const std::optional<std::size_t> from = CodePageOffset(body, start);
            const std::optional<std::size_t> to = from ? CodePageOffset(body, end) : std::nullopt;
            // The stretch must read back as the text the call was found in.
            if (!to || AnsiToUtf8(body.substr(*from, *to - *from)) != text.substr(start, end - start))
                return CallWriteOutcome::Unplaceable;
            start = *from;
            end = *to;
        }
        bytes = Utf8ToAnsi(replacement.text);
        if (!bytes) return CallWriteOutcome::Unencodable;
        break;
    }
    switch (ReplaceInSource(path, snapshot.bytes, bom + start, end - start, *bytes)) {
    case ReplaceOutcome::Replaced: return CallWriteOutcome::Written;
    case ReplaceOutcome::ReplacedInPlace: return CallWriteOutcome::WrittenInPlace;
    case ReplaceOutcome::Changed: return CallWriteOutcome::Changed;
    case ReplaceOutcome::OpenFailed: return CallWriteOutcome::OpenFailed;
    case ReplaceOutcome::ReadFailed: return CallWriteOutcome::ReadFailed;
    case ReplaceOutcome::WriteFailed: return CallWriteOutcome::WriteFailed;
    case ReplaceOutcome::WriteFailedDamaged: return CallWriteOutcome::WriteFailedDamaged;
    }
    return CallWriteOutcome::WriteFailed;
}

std::string CallWriteMessage(CallWriteOutcome outcome, const std::string& path, std::string_view replacement) {
    const std::string name = FileName(path);
    switch (outcome) {
    case CallWriteOutcome::Written: return {};
    case CallWriteOutcome::WrittenInPlace: return name + ": " + std::string(kInPlaceNote);
    case CallWriteOutcome::Changed: return name + " changed since it was read; open it again";
    case CallWriteOutcome::Unencodable: return name + ": " + UnencodableReason(replacement) + "; the file is unchanged";
    case CallWriteOutcome::Unplaceable:
        return name + ": the call's bytes cannot be told apart in the file's code page; the file is unchanged";
    case CallWriteOutcome::OpenFailed: return name + ": Error while opening file";
    case CallWriteOutcome::ReadFailed: return name + ": Error while reading file; the file is unchanged";
    case CallWriteOutcome::WriteFailed: return name + ": Error while writing file; the file is unchanged";
    case CallWriteOutcome::WriteFailedDamaged: return name + ": Error while writing file; the file may be damaged";
    }
    return {};
}

}  // namespace pw
