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

// Receives the occurrences as they are found.
class OccurrenceSink {
public:
    virtual void Found(std::size_t pos, std::size_t length) = 0;
    // Every occurrence that starts before `pos` has been handed to Found, so
    // the text before it is settled. Comes often enough for a sink that copies
    // the text to do so while it is still in cache.
    virtual void Settled(std::size_t pos) = 0;

    // A sink that builds the spliced text can have the search copy the text
    // as it reads it, which saves reading it a second time. CopyTo returns
    // where text byte `from` goes, with room up to byte `to`; the copy goes on
    // with the occurrences not yet found left in, and Found puts right what
    // was copied past an occurrence. Copied tells how far the copy went.
    virtual bool CopiesAhead() const { return false; }
    virtual char* CopyTo(std::size_t /*from*/, std::size_t /*to*/) { return nullptr; }
    virtual void Copied(std::size_t /*pos*/) {}

protected:
    ~OccurrenceSink() = default;
};

// Appends the occurrences to a list.
class OccurrenceList final : public OccurrenceSink {
public:
    explicit OccurrenceList(std::vector<MarkerOccurrence>& list) : list_(list) {}
    void Found(std::size_t pos, std::size_t length) override { list_.push_back({pos, length}); }
    void Settled(std::size_t) override {}

private:
    std::vector<MarkerOccurrence>& list_;
};

// Finds the occurrences the splice replaces and hands them to `sink` by
// position, then calls Settled(text.size()).
//
// Markers are taken in list order; each one's occurrences are found left to
// right without overlap, in the text that earlier markers' occurrences left
// free (a later marker never matches inside or across an earlier occurrence).
// Matching is byte for byte; empty markers are ignored. Zero and BEL bytes are
// ordinary data.
//
// One pass over the text finds every marker at once. Where matches overlap,
// the rule above is applied to just that stretch, so the result is the same as
// searching marker after marker.
void FindMarkers(std::string_view text, std::span<const std::string> markers, OccurrenceSink& sink);

// The same occurrences as a list.
std::vector<MarkerOccurrence> FindMarkerOccurrences(std::string_view source, std::span<const std::string> markers);

}  // namespace pw
