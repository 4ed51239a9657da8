// Replaces insertion markers in a source text by a piece of code.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// Replaces every occurrence of every marker in `source` by `code` and returns
// whether any occurrence was found.
//
// Markers are taken in list order; each one's occurrences are found left to
// right without overlap, in the text that earlier markers' occurrences left
// free (a later marker never matches inside or across an earlier occurrence).
// Matching is byte for byte and only over the original text, so a marker that
// `code` contains stays as it is. Empty markers are ignored. Every byte of the
// source, zero and BEL included, is ordinary data and kept.
//
// Time is linear in the text for each marker (times the marker's length at
// worst, for texts made of near-matches); the result is built with at most one
// allocation, in place when `source` has the capacity for it. `code` may view
// into `source`.
bool SpliceCode(std::string_view code, std::string& source, std::span<const std::string> markers);

// One stretch of the source that the splice replaces.
struct MarkerOccurrence {
    std::size_t pos;
    std::size_t length;
};

// The occurrences SpliceCode replaces, by position: for callers that pass the
// spliced text on without holding all of it.
std::vector<MarkerOccurrence> FindMarkerOccurrences(std::string_view source, std::span<const std::string> markers);

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
