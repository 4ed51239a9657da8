// The splice Insert in source runs (FindMarkerOccurrences, then SpliceCode)
// against the plain model, on any bytes. The input is cut at 0xFF bytes: the
// code, up to twelve markers, then the source; the first byte's low bit picks
// the portable search, its next bit matching on 2-byte code units (UTF-16),
// the rest the pieces in which the text arrives for the search as it is read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/output/splice.h"
#include "core/output/splice_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const pw::MarkerSearch search = (data[0] & 1) != 0 ? pw::MarkerSearch::Portable : pw::MarkerSearch::Fastest;
    const std::size_t unit = (data[0] & 2) != 0 ? 2 : 1;
    std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<std::string> fields;
    while (fields.size() < 13) {
        const std::size_t cut = input.find('\xff');
        if (cut == std::string_view::npos) break;
        fields.emplace_back(input.substr(0, cut));
        input.remove_prefix(cut + 1);
    }
    const std::string source(input);
    const std::string code = fields.empty() ? std::string() : fields.front();
    const std::vector<std::string> markers(fields.begin() + (fields.empty() ? 0 : 1), fields.end());

    bool found = false;
    const std::string expected = pw::ReferenceSplice(code, source, markers, found, unit);
    const std::vector<pw::MarkerOccurrence> occurrences = pw::FindMarkerOccurrences(source, markers, search, unit);
    if (occurrences.empty() == found || pw::SpliceCode(code, source, occurrences) != expected) __builtin_trap();

    // The same found as the text arrives in pieces (the first byte's other bits).
    const std::size_t piece = 1 + (data[0] >> 2);
    pw::MarkerScan scan(markers, search, unit, data[0] >> 5);
    for (std::size_t arrived = piece; arrived < source.size(); arrived += piece)
        scan.Advance(std::string_view(source).substr(0, arrived));
    if (pw::SpliceCode(code, source, scan.Finish(source)) != expected) __builtin_trap();
    return 0;
}
