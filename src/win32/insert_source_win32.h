// Inserts code into a source file in place of its insertion markers.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/output/insertion.h"
#include "core/output/source_encoding.h"

namespace pw {

// A file is read in pieces of this size, each put through the UTF-8 check of
// the encoding decision while it is still in the processor's cache: with
// pieces of 1 MiB the check cost a fifth of the read, with these next to
// nothing.
inline constexpr std::size_t kReadPiece = std::size_t{256} << 10;

// Steps of the file work, as a FileFaultHook sees them.
enum class FileStep {
    Read,        // one ReadFile call
    SetLength,   // one change of the file's length (grow, shrink or restore)
    Write,       // one WriteFile call, into the new file or in place
    Flush,       // FlushFileBuffers
    CreateSwap,  // creating the new file beside the target
    Replace,     // one attempt at renaming the new file over the target
    Open,        // one attempt at opening the target without sharing
};

// Called before each step with the step and how many steps of that kind the
// current InsertInSource call has begun, counting from 1 (restoring the file
// after a failure counts on). Returning true makes the step fail, the way a
// full disk or a failing device would; a failing write still writes the first
// half of its bytes, as a write cut short does; a failing Open or Replace
// fails as a file another program holds for a moment, and is tried again.
// Tests pass one; the program passes none.
using FileFaultHook = std::function<bool(FileStep step, int count)>;

// Replaces every marker occurrence in the file at `path` by `code`. A file
// that another process holds open (past the moment a scanner takes), or
// marked read-only, is not opened; from the read to the end, others may read
// the file but not write it. The new text goes into a file beside it
// (SwapFilePath), flushed to disk, which then takes its name by one rename
// (SwapIn): the file is the old one or the new one whenever the run ends or
// the power fails; a rename still refused after about a second (another
// program holds the file) leaves the file as it was (WriteFailed). Where a
// swap would cut a hard link or cannot be made (no file can be created in the
// folder, its permissions cannot be given to the new file), the file is
// rewritten in place (InsertedInPlace): grown first, put back after a failed
// write, so that it still ends wholly rewritten or wholly as it was unless
// putting it back fails too (WriteFailedDamaged). A file without a marker is
// not written. A
// new file left by an ended run is removed. Shows nothing: the caller tells
// the user.
//
// `code`, `path` and the markers are UTF-8. The file's encoding is decided
// from its bytes (DecideSourceEncoding, `asciiFiles` for a file of nothing but
// ASCII); the markers are matched and the code is written in it, and every
// other byte stays. Code holding a character a code-page file cannot hold is
// not written (Unencodable, the file unchanged), never a substitute for it.
//
// `fileText`, when given, is set to the file's new text in UTF-8, decoded
// from its encoding without the byte order mark (its text as read when it has
// no marker), whenever the file was read and that text could be held, also
// when the write then failed; it is left unset otherwise.
InsertOutcome InsertInSource(std::string_view code, const std::string& path, std::span<const std::string> markers,
                             AsciiFileEncoding asciiFiles, std::optional<std::string>* fileText = nullptr,
                             const FileFaultHook& faults = {});

// What the user is told after InsertedInPlace, behind the file's path: the
// code is in, but the file went without the protection of the swap.
inline constexpr std::string_view kInPlaceNote =
    "the code was inserted by writing the file in place, as no new file could take its place; "
    "had the computer stopped during the write, the file could hold a mix of old and new text";

// How replacing one stretch of a file went (ReplaceInSource).
enum class ReplaceOutcome {
    Replaced,
    ReplacedInPlace,  // as InsertOutcome::InsertedInPlace
    Changed,  // the file is not what was read before: nothing written
    OpenFailed,
    ReadFailed,
    WriteFailed,         // the file stays as it was
    WriteFailedDamaged,  // as InsertOutcome::WriteFailedDamaged
};

// Replaces bytes pos..pos+length of the file at `path` by `bytes`, opened,
// written and swapped in as InsertInSource does, but only when the file
// still holds exactly `expected` (what was read when the stretch was found):
// an editor that saved the file since would otherwise lose its change.
ReplaceOutcome ReplaceInSource(const std::string& path, std::string_view expected, std::size_t pos, std::size_t length,
                               std::string_view bytes, const FileFaultHook& faults = {});

// Why `code` could not be written into a file in the ANSI code page (after
// Unencodable), naming the characters the code page lacks:
// "the file's encoding (code page 1252) cannot hold ✓".
std::string UnencodableReason(std::string_view code);

}  // namespace pw
