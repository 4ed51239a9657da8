#include "win32/insert_source_win32.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/model/utf8.h"
#include "core/output/marker_search.h"
#include "core/output/source_encoding.h"
#include "core/output/splice.h"
#include "win32/file_swap_win32.h"
#include "win32/raii_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

// Files are written in pieces of this size: WriteFile takes 32-bit counts,
// and a failing write leaves at most this much unwritten.
constexpr std::size_t kChunk = std::size_t{1} << 20;
// The spliced text is gathered for the writes in pieces that stay in the
// processor's cache; a larger buffer is fresh memory on every insertion.
constexpr std::size_t kGather = std::size_t{256} << 10;

// The fault hook and how many steps of each kind one InsertInSource call has
// begun, across the target and the new file beside it.
class FileSteps {
public:
    explicit FileSteps(const FileFaultHook& faults) : faults_(faults) {}

    bool Fails(FileStep step) {
        const int count = ++counts_[static_cast<std::size_t>(step)];
        return faults_ && faults_(step, count);
    }

private:
    const FileFaultHook& faults_;
    std::array<int, 7> counts_{};
};

// The markers as the file's bytes hold them; a marker the code page lacks
// cannot be in the file and is left out.
std::vector<std::string> FileMarkers(std::span<const std::string> markers, SourceEncoding encoding);

// What is done with each piece of the file as it is read, while it is still
// in the cache: the UTF-8 check of the encoding decision, and the marker
// search where the markers' bytes are certain before the whole file is: the
// byte order mark decides them, and without one ASCII markers are the same
// bytes in the code page and in UTF-8.
class ReadAlong {
public:
    explicit ReadAlong(std::span<const std::string> markers = {}, AsciiFileEncoding asciiFiles = {})
        : markers_(markers), asciiFiles_(asciiFiles) {}

    // `text` is the file so far, of which the bytes from `from` on are new.
    void Add(std::string_view text, std::size_t from) {
        check_.Add(text.substr(from));
        if (from == 0) Start(text);
        if (scan_) scan_->Advance(text.substr(early_.bomSize));
    }

    const Utf8Check& Check() const { return check_; }

    // The markers' occurrences in the file read whole, in the encoding decided,
    // matched on its code units after its byte order mark.
    std::vector<MarkerOccurrence> Occurrences(std::string_view text, SourceFileEncoding file) {
        const std::string_view body = text.substr(file.bomSize);
        const bool scanned =
            scan_ && file.bomSize == early_.bomSize && CodeUnitSize(file.encoding) == CodeUnitSize(early_.encoding);
        std::vector<MarkerOccurrence> found =
            scanned ? scan_->Finish(body)
                    : FindMarkerOccurrences(body, FileMarkers(markers_, file.encoding), MarkerSearch::Fastest,
                                            CodeUnitSize(file.encoding));
        for (MarkerOccurrence& o : found) o.pos += file.bomSize;
        return found;
    }

private:
    static bool Ascii(std::string_view s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    }

    void Start(std::string_view first) {
        if (markers_.empty()) return;
        // Three bytes show every byte order mark, and nothing else.
        early_ = DecideSourceEncoding(first.substr(0, 3), asciiFiles_);
        if (early_.bomSize == 0 && !std::all_of(markers_.begin(), markers_.end(), Ascii)) return;
        scan_.emplace(FileMarkers(markers_, early_.encoding), MarkerSearch::Fastest, CodeUnitSize(early_.encoding));
    }

    std::span<const std::string> markers_;
    AsciiFileEncoding asciiFiles_;
    Utf8Check check_;
    SourceFileEncoding early_;
    std::optional<MarkerScan> scan_;
};

// The file operations on one open file, each open to the fault hook.
class SourceFile {
public:
    SourceFile(HANDLE file, FileSteps& steps) : file_(file), steps_(steps) {}

    HANDLE Handle() const { return file_; }

    // Reads the file whole, each piece handed to `along` as it comes in.
    bool ReadAll(std::string& text, ReadAlong& along) {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file_, &size) || size.QuadPart < 0) return false;
        if (static_cast<std::uint64_t>(size.QuadPart) > text.max_size()) return false;
        text.resize(static_cast<std::size_t>(size.QuadPart));
        std::size_t done = 0;
        while (done < text.size()) {
            const DWORD want = static_cast<DWORD>(std::min(text.size() - done, kReadPiece));
            DWORD got = 0;
            if (steps_.Fails(FileStep::Read) || !ReadFile(file_, text.data() + done, want, &got, nullptr)) return false;
            if (got == 0) break;
            along.Add(std::string_view(text).substr(0, done + got), done);
            done += got;
        }
        text.resize(done);
        return true;
    }

    bool Seek(std::uint64_t offset) {
        LARGE_INTEGER to;
        to.QuadPart = static_cast<LONGLONG>(offset);
        return SetFilePointerEx(file_, to, nullptr, FILE_BEGIN) != FALSE;
    }

    // Writes at the file pointer.
    bool Write(std::string_view data) {
        while (!data.empty()) {
            DWORD want = static_cast<DWORD>(std::min(data.size(), kChunk));
            const bool injected = steps_.Fails(FileStep::Write);
            if (injected) want /= 2;
            DWORD written = 0;
            if (want != 0 && !WriteFile(file_, data.data(), want, &written, nullptr)) return false;
            if (injected) {
                SetLastError(ERROR_DISK_FULL);
                return false;
            }
            if (written == 0) return false;
            data.remove_prefix(written);
        }
        return true;
    }

    bool SetLength(std::uint64_t length) {
        return !steps_.Fails(FileStep::SetLength) && Seek(length) && SetEndOfFile(file_) != FALSE;
    }

    bool Flush() { return !steps_.Fails(FileStep::Flush) && FlushFileBuffers(file_) != FALSE; }

private:
    HANDLE file_;
    FileSteps& steps_;
};

// Writes the spliced text from byte `from` of the original on at the file
// pointer, gathered into pieces of kGather bytes in `buffer`, so that no second
// copy of the whole text is made.
bool WriteSpliced(SourceFile& file, std::string_view code, std::string_view text,
                  std::span<const MarkerOccurrence> occurrences, std::size_t from, std::string& buffer) {
    std::size_t skip = from;
    bool ok = true;
    buffer.clear();
    VisitSplicedText(code, text, occurrences, [&](std::string_view piece) {
        const std::size_t skipped = std::min(skip, piece.size());
        piece.remove_prefix(skipped);
        skip -= skipped;
        while (ok && !piece.empty()) {
            const std::size_t take = std::min(kGather - buffer.size(), piece.size());
            buffer.append(piece.data(), take);
            piece.remove_prefix(take);
            if (buffer.size() == kGather) {
                ok = file.Write(buffer);
                buffer.clear();
            }
        }
    });
    return ok && file.Write(buffer);
}

// Turns the file holding `text` into one holding the spliced text in place,
// so that it ends as one or the other in full unless the machine or the run
// stops meanwhile. Growing the file first makes a full disk show before any
// byte changes; after a later failure the changed bytes and the length are put
// back from `text`; when that fails too, the file may hold a mix of both.
InsertOutcome RewriteInPlace(SourceFile& file, std::string_view code, std::string_view text,
                             std::span<const MarkerOccurrence> occurrences, std::string& buffer) {
    const std::size_t newSize = SplicedSize(text.size(), code.size(), occurrences);
    const std::size_t first = occurrences.front().pos;

    if (newSize > text.size() && !file.SetLength(newSize)) {
        // No byte has changed; only the length may have.
        return file.SetLength(text.size()) ? InsertOutcome::WriteFailed : InsertOutcome::WriteFailedDamaged;
    }
    if (file.Seek(first) && WriteSpliced(file, code, text, occurrences, first, buffer) &&
        (newSize >= text.size() || file.SetLength(newSize)) && file.Flush()) {
        return InsertOutcome::Inserted;
    }
    const bool undone = file.Seek(first) && file.Write(text.substr(first));
    const bool lengthBack = file.SetLength(text.size());
    const bool flushed = file.Flush();
    return undone && lengthBack && flushed ? InsertOutcome::WriteFailed : InsertOutcome::WriteFailedDamaged;
}

// Writes the spliced text into a new file beside the target, flushes it and
// swaps it in; falls back to RewriteInPlace where the swap cannot be made,
// but not where the rename is refused. The new file is gone afterwards.
// Throws only before the target is touched.
InsertOutcome Rewrite(UniqueHandle& targetHandle, FileSteps& steps, const std::wstring& finalPath,
                      std::string_view code, std::string_view text, std::span<const MarkerOccurrence> occurrences) {
    SourceFile target(targetHandle.Get(), steps);
    std::string buffer;
    buffer.reserve(kGather);
    const auto inPlace = [&] {
        const InsertOutcome outcome = RewriteInPlace(target, code, text, occurrences, buffer);
        return outcome == InsertOutcome::Inserted ? InsertOutcome::InsertedInPlace : outcome;
    };
    // A swap would leave the other names of a hard-linked file on the old text.
    if (finalPath.empty() || HasOtherHardLinks(target.Handle())) return inPlace();

    const std::wstring swapPath = SwapFilePath(finalPath);
    RemoveOnExit removeSwap(swapPath);  // after the handle below is closed
    UniqueHandle swap;
    if (!steps.Fails(FileStep::CreateSwap)) {
        const auto create = [&] {
            return UniqueHandle(
                CreateFileW(swapPath.c_str(), kSwapFileAccess, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        };
        swap = create();
        // Left by a run that was ended; looked for only here, as it is rare.
        if (!swap.Valid() && GetLastError() == ERROR_FILE_EXISTS && DeleteFileW(swapPath.c_str())) swap = create();
    }
    if (!swap.Valid()) {  // the folder is not writable, or another program holds a file of that name
        removeSwap.Keep();
        return inPlace();
    }

    SourceFile out(swap.Get(), steps);
    if (!WriteSpliced(out, code, text, occurrences, 0, buffer) || !out.Flush()) return InsertOutcome::WriteFailed;
    if (!CopyIdentity(target.Handle(), swap.Get())) {
        swap.Reset();
        return inPlace();
    }
    if (SwapIn(finalPath, targetHandle, swapPath, swap, [&] { return steps.Fails(FileStep::Replace); })) {
        removeSwap.Keep();
        return InsertOutcome::Inserted;
    }
    // Held past a scanner's moment: another program has the file, and a write
    // in place now is what the swap is there to avoid. The file is as it was.
    return InsertOutcome::WriteFailed;
}

// Windows refuses write access to a read-only file, but Wine running as root
// grants it; the attribute is the user's word either way.
bool IsReadOnly(HANDLE file) {
    FILE_BASIC_INFO info{};
    return GetFileInformationByHandleEx(file, FileBasicInfo, &info, sizeof info) &&
           (info.FileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// The text the file would have, or nothing when it cannot be held; a failure
// here must not stop the insertion itself.
std::optional<std::string> SplicedOrNothing(std::string_view code, std::string_view text,
                                            std::span<const MarkerOccurrence> occurrences) {
    try {
        return SpliceCode(code, text, occurrences);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// Text (UTF-8) in the file's encoding; nothing when the code page lacks one
// of its characters.
std::optional<std::string> InFileEncoding(std::string_view text, SourceEncoding encoding) {
    switch (encoding) {
    case SourceEncoding::CodePage: return Utf8ToAnsi(text);
    case SourceEncoding::Utf8: return std::string(text);
    case SourceEncoding::Utf16Le:
    case SourceEncoding::Utf16Be: break;
    }
    return EncodeUtf16(text, encoding);
}

// The file's text, its byte order mark left out, in UTF-8.
std::string FromFileEncoding(std::string_view bytes, SourceFileEncoding file) {
    bytes.remove_prefix(std::min(file.bomSize, bytes.size()));
    switch (file.encoding) {
    case SourceEncoding::CodePage: return AnsiToUtf8(bytes);
    case SourceEncoding::Utf8: return std::string(bytes);
    case SourceEncoding::Utf16Le:
    case SourceEncoding::Utf16Be: break;
    }
    return DecodeUtf16(bytes, file.encoding);
}

std::vector<std::string> FileMarkers(std::span<const std::string> markers, SourceEncoding encoding) {
    std::vector<std::string> fileMarkers;
    for (const std::string& marker : markers)
        if (std::optional<std::string> bytes = InFileEncoding(marker, encoding))
            fileMarkers.push_back(std::move(*bytes));
    return fileMarkers;
}

}  // namespace

namespace {

// Opens `path` for a rewrite, sharing only reading (others may read the text
// until the swap) and deletion (which the rename over it needs). The open
// fails while another program writes the file or holds it without sharing
// both reading and writing; a scanner's moment is waited out, a denied access
// is the file's own. False: "Error while opening file".
bool OpenForRewrite(const std::wstring& widePath, FileSteps& steps, UniqueHandle& handle, std::wstring& finalPath) {
    Patiently(
        [&] {
            if (steps.Fails(FileStep::Open)) {
                SetLastError(ERROR_SHARING_VIOLATION);
                return false;
            }
            handle = UniqueHandle(CreateFileW(widePath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
            return handle.Valid();
        },
        false);
    if (!handle.Valid() || IsReadOnly(handle.Get())) return false;
    finalPath = FinalPathOf(handle.Get());
    return true;
}

// The whole file, checked for UTF-8 as it is read; false when a read fails or
// the file is too large to hold.
bool ReadWhole(const UniqueHandle& handle, FileSteps& steps, std::string& text, ReadAlong& along) {
    SourceFile file(handle.Get(), steps);
    try {
        return file.ReadAll(text, along);
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

InsertOutcome InsertInSource(std::string_view code, const std::string& path, std::span<const std::string> markers,
                             AsciiFileEncoding asciiFiles, std::optional<std::string>* fileText,
                             const FileFaultHook& faults) {
    if (fileText != nullptr) fileText->reset();
    const std::wstring widePath = Utf16(path);
    FileSteps steps(faults);
    UniqueHandle handle;
    std::wstring finalPath;
    if (!OpenForRewrite(widePath, steps, handle, finalPath)) return InsertOutcome::OpenFailed;

    std::string text;
    ReadAlong along(markers, asciiFiles);
    if (!ReadWhole(handle, steps, text, along)) return InsertOutcome::ReadFailed;
    try {
        const SourceFileEncoding encoding = DecideSourceEncoding(text, along.Check(), asciiFiles);
        const std::vector<MarkerOccurrence> occurrences = along.Occurrences(text, encoding);
        if (occurrences.empty()) {
            if (fileText != nullptr) *fileText = FromFileEncoding(text, encoding);
            return InsertOutcome::NoMarker;
        }
        // Code with a character the code page lacks (typed by hand) would
        // reach the file only as substitutes: leave the file as it is.
        const std::optional<std::string> fileCode = InFileEncoding(code, encoding.encoding);
        if (!fileCode) return InsertOutcome::Unencodable;
        if (fileText != nullptr) {
            if (std::optional<std::string> spliced = SplicedOrNothing(*fileCode, text, occurrences))
                *fileText = FromFileEncoding(*spliced, encoding);
        }
        return Rewrite(handle, steps, finalPath, *fileCode, text, occurrences);
    } catch (const std::exception&) {  // out of memory before the file was touched
        return InsertOutcome::WriteFailed;
    }
}

ReplaceOutcome ReplaceInSource(const std::string& path, std::string_view expected, std::size_t pos, std::size_t length,
                               std::string_view bytes, const FileFaultHook& faults) {
    const std::wstring widePath = Utf16(path);
    FileSteps steps(faults);
    UniqueHandle handle;
    std::wstring finalPath;
    if (!OpenForRewrite(widePath, steps, handle, finalPath)) return ReplaceOutcome::OpenFailed;

    std::string text;
    ReadAlong along;
    if (!ReadWhole(handle, steps, text, along)) return ReplaceOutcome::ReadFailed;
    if (text != expected || pos > text.size() || length > text.size() - pos) return ReplaceOutcome::Changed;
    const MarkerOccurrence stretch{pos, length};
    try {
        switch (Rewrite(handle, steps, finalPath, bytes, text, std::span<const MarkerOccurrence>(&stretch, 1))) {
        case InsertOutcome::Inserted: return ReplaceOutcome::Replaced;
        case InsertOutcome::InsertedInPlace: return ReplaceOutcome::ReplacedInPlace;
        case InsertOutcome::WriteFailedDamaged: return ReplaceOutcome::WriteFailedDamaged;
        default: return ReplaceOutcome::WriteFailed;
        }
    } catch (const std::exception&) {
        return ReplaceOutcome::WriteFailed;
    }
}

std::string UnencodableReason(std::string_view code) {
    std::u32string missing;
    Utf8ToAnsi(code, CP_ACP, &missing);
    std::string characters;
    for (char32_t c : missing) {
        if (!characters.empty()) characters += ' ';
        AppendUtf8(characters, c);
    }
    return "the file's encoding (code page " + std::to_string(GetACP()) + ") cannot hold " + characters;
}

}  // namespace pw
