// Finds the insertion markers in a source text.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// One stretch of the source that the splice replaces.
struct MarkerOccurrence {
    std::size_t pos;
    std::size_t length;
};

// Which search runs. Both give the same occurrences; Portable is there so that
// tests and the fuzz target can hold the vector search to the portable one on
// a machine that has the vector one.
enum class MarkerSearch {
    Fastest,   // one pass for every marker (AVX2) where the processor has it, else Portable
    Portable,  // marker by marker, memchr on each one's rarest byte
};

// The occurrences the splice replaces, by position.
//
// Markers are taken in list order; each one's occurrences are found left to
// right without overlap, in the text that earlier markers' occurrences left
// free (a later marker never matches inside or across an earlier occurrence).
// Matching is byte for byte; empty markers are ignored. Zero and BEL bytes are
// ordinary data. With `unit` 2 (UTF-16 text) a match starts only at an even
// position and a marker of odd length never matches, so no marker is found
// across the halves of two code units.
//
// The one-pass search finds every marker at once. Where matches overlap, the
// rule above is applied to just that stretch, so the result is the same as
// searching marker after marker.
std::vector<MarkerOccurrence> FindMarkerOccurrences(std::string_view text, std::span<const std::string> markers,
                                                    MarkerSearch search = MarkerSearch::Fastest, std::size_t unit = 1);

}  // namespace pw
