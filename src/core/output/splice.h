// Replaces insertion markers in a source text by a piece of code.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "core/output/marker_search.h"

namespace pw {

// Size of the spliced text; throws std::length_error when no string can hold it.
std::size_t SplicedSize(std::size_t sourceSize, std::size_t codeSize, std::span<const MarkerOccurrence> occurrences);

// Hands the spliced text to `sink` as consecutive non-empty pieces, each a
// view into `source` or `code`: the source with the code in place of every
// occurrence (FindMarkerOccurrences gives them). Matching was only over the
// original text, so a marker that `code` contains stays as it is; every other
// byte of the source, zero and BEL included, is kept.
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

// The spliced text whole, in a string of its exact size. Throws
// std::length_error or std::bad_alloc when it cannot be held.
std::string SpliceCode(std::string_view code, std::string_view source, std::span<const MarkerOccurrence> occurrences);

}  // namespace pw
