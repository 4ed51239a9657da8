// The encoding a source file is in, told from its bytes, so that Insert in
// source writes the statement as the user's editor would have written it there;
// and the UTF-16 conversions such a file needs. The ANSI code page itself is
// the shell's business (it asks Windows).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pw {

enum class SourceEncoding {
    CodePage,  // the machine's ANSI code page
    Utf8,
    Utf16Le,
    Utf16Be,
};

// What a file of nothing but ASCII, without a byte order mark, is taken to be
// (the "SourceEncoding" setting): its bytes tell nothing.
enum class AsciiFileEncoding {
    CodePage,  // "ansi", the default
    Utf8,      // "utf8"
};

// "utf8" (in any case) is Utf8; anything else, the empty value included, reads
// as CodePage.
AsciiFileEncoding AsciiFileEncodingFromSetting(std::string_view value);

struct SourceFileEncoding {
    SourceEncoding encoding = SourceEncoding::CodePage;
    std::size_t bomSize = 0;  // bytes of the byte order mark the file starts with, which stay

    friend bool operator==(const SourceFileEncoding&, const SourceFileEncoding&) = default;
};

// The UTF-8 check the decision makes, fed the file's bytes piece after piece
// as they are read, so that each piece is checked while it is still in the
// cache: on a large file a second pass from memory would cost a good part of
// the read.
class Utf8Check {
public:
    void Add(std::string_view piece);  // the bytes that follow those added before
    // Strict UTF-8 (no over-long forms, no surrogates, nothing above
    // U+10FFFF), no sequence cut at the end.
    bool Valid() const { return !invalid_ && cut_.empty(); }
    bool BeyondAscii() const { return beyondAscii_; }

private:
    bool invalid_ = false;
    bool beyondAscii_ = false;
    std::string cut_;  // a sequence the last piece ended within
};

// EF BB BF: UTF-8; FF FE: UTF-16 LE; FE FF: UTF-16 BE. Without a mark: UTF-8
// when the bytes are valid UTF-8 with at least one character beyond ASCII; the
// code page when they are not; `asciiFiles` when they are all ASCII (an empty
// file included).
SourceFileEncoding DecideSourceEncoding(std::string_view bytes, AsciiFileEncoding asciiFiles);
// The same, the bytes already put through `check` whole.
SourceFileEncoding DecideSourceEncoding(std::string_view bytes, const Utf8Check& check, AsciiFileEncoding asciiFiles);

// Bytes per code unit, the step on which markers are matched: 2 for UTF-16.
constexpr std::size_t CodeUnitSize(SourceEncoding encoding) {
    return encoding == SourceEncoding::Utf16Le || encoding == SourceEncoding::Utf16Be ? 2 : 1;
}

// UTF-8 to UTF-16 code units in the byte order of `encoding` (one of the
// two UTF-16 ones). A lone surrogate in its three-byte form becomes that
// unit; bytes that make no character become U+FFFD.
std::string EncodeUtf16(std::string_view utf8, SourceEncoding encoding);

// UTF-16 code units in the byte order of `encoding` to UTF-8. A lone surrogate
// is kept in its three-byte form; a trailing odd byte reads as U+FFFD.
std::string DecodeUtf16(std::string_view bytes, SourceEncoding encoding);

}  // namespace pw
