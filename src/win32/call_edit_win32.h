// One call of a source file, found at a place or listed, and replaced in
// place: the file read in its own encoding, the call's bytes found again in
// it, and the replacement written only over the file as it was read.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/codeparse/call_finder.h"
#include "core/convert/call_rewrite.h"
#include "core/output/source_encoding.h"
#include "core/settings/app_settings.h"

namespace pw {

// A source file as read: its bytes, its encoding and its text in UTF-8 (the
// byte order mark left out), which the finder reads.
class SourceSnapshot {
public:
    std::string bytes;
    SourceFileEncoding encoding;

    std::string_view Text() const { return converted_ ? std::string_view(text_) : std::string_view(bytes).substr(encoding.bomSize); }
    void SetText(std::string text) {
        text_ = std::move(text);
        converted_ = true;
    }

private:
    std::string text_;
    bool converted_ = false;  // else the text is the bytes after the mark (UTF-8, or ASCII)
};

enum class SnapshotOutcome { Read, OpenFailed, ReadFailed };

// Reads the file whole (others may go on writing it: the write checks).
SnapshotOutcome ReadSourceSnapshot(const std::string& path, AsciiFileEncoding asciiFiles, SourceSnapshot& snapshot);

// "main.c:120" or "main.c:120:9" for messages and the title bar: the file
// name without its folder.
std::string PlaceName(const std::string& path, SourcePosition position);

// "Error while opening file" and the like, for a failed ReadSourceSnapshot.
std::string SnapshotProblem(SnapshotOutcome outcome);

enum class CallWriteOutcome {
    Written,
    WrittenInPlace,  // written, but without the swap's protection (kInPlaceNote)
    Changed,       // the file changed since it was read: nothing written
    Unencodable,   // the file's code page lacks a character of the replacement
    Unplaceable,   // the call's bytes cannot be told in the file (a code page's odd bytes)
    OpenFailed,
    ReadFailed,
    WriteFailed,
    WriteFailedDamaged,
};

// Writes `replacement` (offsets in snapshot.Text()) into the file at `path`
// in its encoding, crash-safe, if the file still holds snapshot.bytes.
CallWriteOutcome WriteCallReplacement(const std::string& path, const SourceSnapshot& snapshot,
                                      const CallReplacement& replacement);

// What the user is told of an outcome other than Written, naming the file
// by its name alone: "main.c changed since it was read; open it again".
std::string CallWriteMessage(CallWriteOutcome outcome, const std::string& path, std::string_view replacement);

}  // namespace pw
