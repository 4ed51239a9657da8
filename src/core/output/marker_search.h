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

// FindMarkerOccurrences over a text that arrives piece by piece (a file being
// read): each piece is searched as it comes in, while it is still in the
// processor's cache, and the result is the same as one search of the whole.
//
// Only occurrences that start a margin (all markers' lengths together) before
// the end of what has arrived are taken: no byte still to come can change
// them. The next search starts where no occurrence taken reaches.
class MarkerScan {
public:
    // `leastStep`: the least text worth a search of its own.
    explicit MarkerScan(std::vector<std::string> markers, MarkerSearch search = MarkerSearch::Fastest,
                        std::size_t unit = 1, std::size_t leastStep = std::size_t{64} << 10);

    // `arrived` is the text so far; each call gives a longer start of the same text.
    void Advance(std::string_view arrived);
    // The occurrences in `whole`, the text arrived in full.
    std::vector<MarkerOccurrence> Finish(std::string_view whole);

private:
    void SearchUpTo(std::string_view arrived, std::size_t cutoff);

    std::vector<std::string> markers_;
    MarkerSearch search_;
    std::size_t unit_;
    std::size_t margin_ = 0;
    std::size_t leastStep_;
    std::size_t settled_ = 0;  // every occurrence that starts before it is in found_
    std::vector<MarkerOccurrence> found_;
};

}  // namespace pw
