#include "core/output/splice.h"

#include <stdexcept>

namespace pw {

std::size_t SplicedSize(std::size_t sourceSize, std::size_t codeSize, std::span<const MarkerOccurrence> occurrences) {
    std::size_t removed = 0;
    for (const MarkerOccurrence& o : occurrences) removed += o.length;
    const std::size_t kept = sourceSize - removed;
    const std::size_t count = occurrences.size();
    const std::size_t limit = std::string().max_size();
    if (codeSize != 0 && (count > (limit - kept) / codeSize)) {
        throw std::length_error("spliced text too long");
    }
    return kept + count * codeSize;
}

std::string SpliceCode(std::string_view code, std::string_view source, std::span<const MarkerOccurrence> occurrences) {
    std::string spliced;
    spliced.reserve(SplicedSize(source.size(), code.size(), occurrences));
    VisitSplicedText(code, source, occurrences, [&spliced](std::string_view piece) { spliced.append(piece); });
    return spliced;
}

}  // namespace pw
