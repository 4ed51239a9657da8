// Replaces insertion markers in a source text by a piece of code.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "core/output/marker_search.h"

namespace pw {

// Replaces every occurrence of every marker in `source` by `code` (the
// occurrences FindMarkers gives) and returns whether any was found. Matching
// is only over the original text, so a marker that `code` contains stays as
// it is. Every byte of the source, zero and BEL included, is kept.
//
// A code no longer than any marker is put in during the search, the text
// moving down behind it. A longer one needs the occurrences first: the text
// then moves up from its end within the string's capacity when that is large
// enough, else it is built once in a buffer of the exact size. `code` may view
// into `source`.
bool SpliceCode(std::string_view code, std::string& source, std::span<const std::string> markers);

// The same, writing the spliced text to `out` in place of what it held. One
// pass: the search stores each stretch of text it has read to `out` straight
// away. The string is used again as it is, its size and capacity as room.
// `code` and `source` may view into `out`.
bool SpliceCode(std::string_view code, std::string_view source, std::span<const std::string> markers,
                std::string& out);

// Size of the spliced text; throws std::length_error when no string can hold it.
std::size_t SplicedSize(std::size_t sourceSize, std::size_t codeSize, std::span<const MarkerOccurrence> occurrences);

// Hands the spliced text to `sink` as consecutive non-empty pieces, each a
// view into `source` or `code`.
template <typename Sink>
void VisitSplicedText(std::string_view code, std::string_view source, std::span<const MarkerOccurrence> occurrences,
                      Sink&& sink) {
    std::size_t from = 0;
    for (const MarkerOccurrence& o : occurrences) {
        if (o.pos != from) sink(source.substr(from, o.pos - from));
        if (!code.empty()) sink(code);
        from = o.pos + o.length;
    }
    if (from != source.size()) sink(source.substr(from));
}

}  // namespace pw
