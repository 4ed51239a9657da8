#include "core/output/marker_search.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <utility>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define PW_VECTOR_X86 1
#include <immintrin.h>
#define PW_AVX2 __attribute__((target("avx2")))
#else
#define PW_VECTOR_X86 0
#endif

namespace pw {
namespace {

using Occurrence = MarkerOccurrence;
using ByteCounts = std::array<std::uint32_t, 256>;

// The markers that can match: non-empty, whole code units, no longer than the
// text, and each only once, as a repeat can never match (every stretch it
// would match, its first appearance has taken or crossed).
std::vector<std::string_view> UsableMarkers(std::string_view text, std::span<const std::string> markers,
                                            std::size_t unit) {
    std::vector<std::string_view> usable;
    for (const std::string& marker : markers) {
        if (marker.empty() || marker.size() % unit != 0 || marker.size() > text.size()) continue;
        if (std::find(usable.begin(), usable.end(), marker) == usable.end()) usable.push_back(marker);
    }
    return usable;
}

// Byte counts over a few spread samples of the text. They pick the byte of a
// marker that memchr should look for: in C source '/' and '*' are everywhere,
// so "/*MB*/" is found far faster by its 'M' than by its first byte.
ByteCounts SampleByteCounts(std::string_view text) {
    constexpr std::size_t kSamples = 16;
    constexpr std::size_t kSampleSize = 4096;
    ByteCounts counts{};
    auto count = [&](std::size_t begin, std::size_t size) {
        for (unsigned char c : text.substr(begin, size)) ++counts[c];
    };
    if (text.size() <= kSamples * kSampleSize) {
        count(0, text.size());
    } else {
        const std::size_t stride = (text.size() - kSampleSize) / (kSamples - 1);
        for (std::size_t i = 0; i < kSamples; ++i) count(i * stride, kSampleSize);
    }
    return counts;
}

// One marker: memchr on its rarest byte, then a compare of the whole marker
// around each hit that starts on a code unit. Serves the marker-by-marker
// search, which runs where there is no AVX2 and on stretches of overlapping
// matches.
std::size_t FindByRareByte(const char* text, std::size_t from, std::size_t end, std::string_view marker,
                           std::size_t rareIndex, std::size_t unit) {
    const std::size_t m = marker.size();
    const unsigned char rare = static_cast<unsigned char>(marker[rareIndex]);
    const char* p = text + from + rareIndex;
    const char* const last = text + (end - m) + rareIndex;  // inclusive
    while (p <= last) {
        const void* hit = std::memchr(p, rare, static_cast<std::size_t>(last - p) + 1);
        if (hit == nullptr) break;
        p = static_cast<const char*>(hit);
        const char* start = p - rareIndex;
        if ((start - text) % unit == 0 && std::memcmp(start, marker.data(), m) == 0)
            return static_cast<std::size_t>(start - text);
        ++p;
    }
    return std::string_view::npos;
}

// Finds one marker's occurrences within a range of the text.
class MarkerFinder {
public:
    MarkerFinder(std::string_view marker, std::string_view text, std::size_t unit, ByteCounts& counts, bool& counted)
        : marker_(marker), unit_(unit) {
        if (marker.size() < 2) return;
        if (!counted) {
            counts = SampleByteCounts(text);
            counted = true;
        }
        for (std::size_t i = 1; i < marker.size(); ++i) {
            if (counts[static_cast<unsigned char>(marker[i])] <
                counts[static_cast<unsigned char>(marker[rareIndex_])]) {
                rareIndex_ = i;
            }
        }
    }

    // Position of the first occurrence lying wholly within [from, end) of
    // `text`, or npos.
    std::size_t Find(const char* text, std::size_t from, std::size_t end) const {
        if (end < from || end - from < marker_.size()) return std::string_view::npos;
        return FindByRareByte(text, from, end, marker_, rareIndex_, unit_);
    }

private:
    std::string_view marker_;
    std::size_t unit_;
    std::size_t rareIndex_ = 0;
};

// Lists for the marker-by-marker search.
struct Scratch {
    std::vector<Occurrence> taken;
    std::vector<Occurrence> found;
    std::vector<Occurrence> merged;
};

// The occurrences, marker after marker, in `scratch.taken`: each marker is
// searched only in the gaps that earlier markers left, so it can neither match
// inside an earlier occurrence nor across one.
// `text` starts on a code unit.
void FindInTurn(std::string_view text, std::span<const std::string_view> markers, std::size_t unit, Scratch& scratch) {
    std::vector<Occurrence>& taken = scratch.taken;
    std::vector<Occurrence>& found = scratch.found;
    std::vector<Occurrence>& merged = scratch.merged;
    taken.clear();
    ByteCounts counts{};
    bool counted = false;

    for (std::string_view marker : markers) {
        if (marker.size() > text.size()) continue;
        const MarkerFinder finder(marker, text, unit, counts, counted);
        found.clear();
        // The search runs over the whole text rather than gap by gap, so that
        // many short gaps cost no more than one long one; a match that
        // intersects an earlier occurrence sends it on past that occurrence,
        // since no match lying wholly in the gap before can come after it.
        std::size_t at = 0;
        std::size_t next = 0;  // first earlier occurrence not wholly before `at`
        while ((at = finder.Find(text.data(), at, text.size())) != std::string_view::npos) {
            while (next < taken.size() && taken[next].pos + taken[next].length <= at) ++next;
            if (next < taken.size() && taken[next].pos < at + marker.size()) {
                at = taken[next].pos + taken[next].length;
                continue;
            }
            found.push_back({at, marker.size()});
            at += marker.size();
        }

        if (found.empty()) continue;
        if (taken.empty()) {
            taken.swap(found);
        } else {
            merged.clear();
            merged.reserve(taken.size() + found.size());
            std::merge(taken.begin(), taken.end(), found.begin(), found.end(), std::back_inserter(merged),
                       [](const Occurrence& a, const Occurrence& b) { return a.pos < b.pos; });
            taken.swap(merged);
        }
    }
}

// Groups the matches of the one-pass search into stretches of overlapping
// ones. A match that overlaps no other is an occurrence as it stands; a
// stretch of overlapping matches is settled by the marker-by-marker rule on
// that stretch alone, which gives what the rule gives on the whole text, as
// no match outside the stretch touches it.
class Clusters {
public:
    Clusters(std::string_view text, std::span<const std::string_view> markers, std::size_t unit,
             std::vector<Occurrence>& found)
        : text_(text), markers_(markers), unit_(unit), found_(found) {}

    // A match at `pos`, which is never before the previous one.
    void Match(std::size_t pos, std::size_t length) {
        if (open_ && pos < end_) {
            end_ = std::max(end_, pos + length);
            overlapping_ = true;
            return;
        }
        Close();
        open_ = true;
        overlapping_ = false;
        start_ = pos;
        end_ = pos + length;
    }

    // Every match starting before `scanned` has been passed in, so an open
    // stretch that ends by then is complete.
    void CloseIfEndsBy(std::size_t scanned) {
        if (open_ && end_ <= scanned) Close();
    }

    // Where the open stretch ends, or npos.
    std::size_t OpenEnd() const { return open_ ? end_ : std::string_view::npos; }

    void Finish() { Close(); }

private:
    void Close() {
        if (!open_) return;
        open_ = false;
        if (!overlapping_) {
            found_.push_back({start_, end_ - start_});
            return;
        }
        FindInTurn(text_.substr(start_, end_ - start_), markers_, unit_, scratch_);
        for (const Occurrence& o : scratch_.taken) found_.push_back({start_ + o.pos, o.length});
    }

    std::string_view text_;
    std::span<const std::string_view> markers_;
    std::size_t unit_;
    std::vector<Occurrence>& found_;
    Scratch scratch_;
    bool open_ = false;
    bool overlapping_ = false;
    std::size_t start_ = 0;
    std::size_t end_ = 0;
};

// Markers of one length that share their first and last byte are looked for
// together.
struct Probe {
    char first;
    char last;
    std::size_t lastOffset;
    std::vector<std::string_view> markers;
};

std::vector<Probe> MakeProbes(std::span<const std::string_view> markers) {
    std::vector<Probe> probes;
    for (std::string_view marker : markers) {
        const std::size_t offset = marker.size() - 1;
        auto same = [&](const Probe& p) {
            return p.first == marker.front() && p.last == marker.back() && p.lastOffset == offset;
        };
        auto it = std::find_if(probes.begin(), probes.end(), same);
        if (it == probes.end()) it = probes.insert(probes.end(), Probe{marker.front(), marker.back(), offset, {}});
        it->markers.push_back(marker);
    }
    return probes;
}

// Whether the marker is at `at`, whose first and last byte are known to match.
inline bool SameMiddle(const char* at, std::string_view marker) {
    const std::size_t m = marker.size();
    const char* k = marker.data();
    auto same = [&](std::size_t offset, auto width) {
        decltype(width) a;
        decltype(width) b;
        std::memcpy(&a, at + offset, sizeof a);
        std::memcpy(&b, k + offset, sizeof b);
        return a == b;
    };
    if (m <= 2) return true;
    if (m <= 4) return same(1, std::uint16_t{});
    if (m <= 8) return same(0, std::uint32_t{}) && same(m - 4, std::uint32_t{});
    if (m <= 16) return same(0, std::uint64_t{}) && same(m - 8, std::uint64_t{});
    return std::memcmp(at + 1, k + 1, m - 2) == 0;
}

#if PW_VECTOR_X86
// Start positions at `at`..`at`+31 whose byte is `first` and whose byte
// `offset` further on is `last`.
PW_AVX2 inline __m256i ProbeAvx2(const char* at, std::size_t offset, __m256i first, __m256i last) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + offset));
    return _mm256_and_si256(_mm256_cmpeq_epi8(a, first), _mm256_cmpeq_epi8(b, last));
}

struct alignas(32) ProbeBytes {
    __m256i first;
    __m256i last;
};

// Every marker in one pass over the text: each 64-byte block is tested for
// every probe's two bytes, and only where they meet are whole markers
// compared.
class OnePass {
public:
    OnePass(std::string_view text, std::span<const std::string_view> markers, std::size_t unit,
            std::vector<Occurrence>& found)
        : text_(text), unit_(unit), probes_(MakeProbes(markers)), bytes_(probes_.size()), offsets_(probes_.size()),
          clusters_(text, markers, unit, found) {}

    PW_AVX2 void Run() {
        // Start positions on a code unit: every one, or the even ones (the
        // blocks start at multiples of 64).
        startBits_ = unit_ == 2 ? 0x5555555555555555u : ~std::uint64_t{0};
        std::size_t longestOffset = 0;
        for (std::size_t k = 0; k < probes_.size(); ++k) {
            bytes_[k].first = _mm256_set1_epi8(probes_[k].first);
            bytes_[k].last = _mm256_set1_epi8(probes_[k].last);
            offsets_[k] = probes_[k].lastOffset;
            longestOffset = std::max(longestOffset, probes_[k].lastOffset);
        }
        const std::size_t n = text_.size();
        const std::size_t reach = 64 + longestOffset;  // bytes one block's probes read
        std::size_t p = 0;
        if (n >= reach) p = (this->*Choose())(0, n - reach + 1);
        Tail(p);
        clusters_.Finish();
    }

private:
    using Kernel = std::size_t (OnePass::*)(std::size_t, std::size_t);

    Kernel Choose() const {
        if (probes_.size() == 1) return &OnePass::Blocks<1>;
        if (probes_.size() == 2) return &OnePass::Blocks<2>;
        return &OnePass::Blocks<0>;
    }

    // Passes over the blocks from `p` up to `limit` in which no probe's two
    // bytes meet; stops at the first block where they do.
    template <std::size_t K>
    PW_AVX2 __attribute__((always_inline)) std::size_t Skip(std::size_t p, std::size_t limit, const ProbeBytes* probe,
                                                            const std::size_t* offset) const {
        const char* const t = text_.data();
        const std::size_t count = K == 0 ? probes_.size() : K;
        const __m256i starts = unit_ == 2 ? _mm256_set1_epi16(0x00FF) : _mm256_set1_epi8(-1);
        for (; p < limit; p += 64) {
            const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t + p));
            const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(t + p + 32));
            __m256i hits = _mm256_setzero_si256();
            for (std::size_t k = 0; k < count; ++k) {
                const char* at = t + p + offset[k];
                const __m256i b0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
                const __m256i b1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32));
                hits = _mm256_or_si256(hits, _mm256_and_si256(_mm256_cmpeq_epi8(lo, probe[k].first),
                                                              _mm256_cmpeq_epi8(b0, probe[k].last)));
                hits = _mm256_or_si256(hits, _mm256_and_si256(_mm256_cmpeq_epi8(hi, probe[k].first),
                                                              _mm256_cmpeq_epi8(b1, probe[k].last)));
            }
            if (!_mm256_testz_si256(hits, starts)) break;
        }
        return p;
    }

    // The blocks starting in [p, end); returns where the next block starts.
    // K probes, K known when compiled so that their bytes stay in registers;
    // K of 0 stands for any number.
    template <std::size_t K>
    PW_AVX2 std::size_t Blocks(std::size_t p, const std::size_t end) {
        constexpr std::size_t kHeld = K == 0 ? 1 : K;
        ProbeBytes heldBytes[kHeld];
        std::size_t heldOffset[kHeld];
        for (std::size_t k = 0; k < K; ++k) {
            heldBytes[k] = bytes_[k];
            heldOffset[k] = offsets_[k];
        }
        const ProbeBytes* probe = K == 0 ? bytes_.data() : heldBytes;
        const std::size_t* offset = K == 0 ? offsets_.data() : heldOffset;

        std::size_t closeAt = clusters_.OpenEnd();
        while (p < end) {
            p = Skip<K>(p, std::min(end, closeAt), probe, offset);
            if (p >= end) break;
            if (p >= closeAt) {  // no later match can join the open stretch
                clusters_.CloseIfEndsBy(p);
                closeAt = std::string_view::npos;
                continue;
            }
            MatchBlock(p);
            p += 64;
            clusters_.CloseIfEndsBy(p);
            closeAt = clusters_.OpenEnd();
        }
        return p;
    }

    // Compares the whole marker wherever a probe's two bytes met in the 64
    // start positions from `p`, in position order.
    PW_AVX2 void MatchBlock(std::size_t p) {
        const char* const t = text_.data();
        std::uint64_t masks[8];
        const std::size_t held = std::min<std::size_t>(probes_.size(), 8);
        std::uint64_t any = 0;
        for (std::size_t k = 0; k < probes_.size(); ++k) {
            const __m256i f = bytes_[k].first;
            const __m256i l = bytes_[k].last;
            const std::size_t offset = probes_[k].lastOffset;
            const auto lo = static_cast<std::uint32_t>(_mm256_movemask_epi8(ProbeAvx2(t + p, offset, f, l)));
            const auto hi = static_cast<std::uint32_t>(_mm256_movemask_epi8(ProbeAvx2(t + p + 32, offset, f, l)));
            const std::uint64_t mask = (std::uint64_t{hi} << 32) | lo;
            if (k < held) masks[k] = mask;
            any |= mask;
        }
        any &= startBits_;
        while (any != 0) {
            const int bit = __builtin_ctzll(any);
            any &= any - 1;
            const std::size_t pos = p + static_cast<std::size_t>(bit);
            for (std::size_t k = 0; k < probes_.size(); ++k) {
                // Past eight probes, their two bytes are looked at again.
                const Probe& probe = probes_[k];
                const bool met = k < held ? ((masks[k] >> bit) & 1) != 0
                                          : t[pos] == probe.first && t[pos + probe.lastOffset] == probe.last;
                if (!met) continue;
                for (std::string_view marker : probe.markers) {
                    if (SameMiddle(t + pos, marker)) clusters_.Match(pos, marker.size());
                }
            }
        }
    }

    // The start positions too near the end for whole blocks.
    void Tail(std::size_t p) {
        const char* const t = text_.data();
        const std::size_t n = text_.size();
        for (; p < n; p += unit_) {
            for (const Probe& probe : probes_) {
                if (t[p] != probe.first || n - p <= probe.lastOffset) continue;
                for (std::string_view marker : probe.markers) {
                    if (std::memcmp(t + p, marker.data(), marker.size()) == 0) clusters_.Match(p, marker.size());
                }
            }
        }
    }

    std::string_view text_;
    std::size_t unit_;
    std::uint64_t startBits_ = 0;
    std::vector<Probe> probes_;
    std::vector<ProbeBytes> bytes_;
    std::vector<std::size_t> offsets_;
    Clusters clusters_;
};

bool HasAvx2() {
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}
#endif

}  // namespace

std::vector<MarkerOccurrence> FindMarkerOccurrences(std::string_view text, std::span<const std::string> markers,
                                                    MarkerSearch search, std::size_t unit) {
    unit = unit == 2 ? 2 : 1;
    const std::vector<std::string_view> usable = UsableMarkers(text, markers, unit);
    std::vector<MarkerOccurrence> found;
#if PW_VECTOR_X86
    if (!usable.empty() && search == MarkerSearch::Fastest && HasAvx2()) {
        OnePass(text, usable, unit, found).Run();
        return found;
    }
#else
    (void)search;
#endif
    Scratch scratch;
    FindInTurn(text, usable, unit, scratch);
    found.swap(scratch.taken);
    return found;
}

MarkerScan::MarkerScan(std::vector<std::string> markers, MarkerSearch search, std::size_t unit, std::size_t leastStep)
    : markers_(std::move(markers)), search_(search), unit_(unit == 2 ? 2 : 1), leastStep_(leastStep) {
    // An occurrence of the k-th marker depends on those of the earlier ones
    // that overlap it, so a missing byte at the end reaches back at most
    // every marker's length; one code unit more keeps the cut on a unit.
    for (const std::string& marker : markers_) margin_ += marker.size();
    margin_ += unit_;
}

void MarkerScan::SearchUpTo(std::string_view arrived, std::size_t cutoff) {
    const std::size_t base = settled_;
    std::size_t reached = cutoff;
    for (const MarkerOccurrence& o : FindMarkerOccurrences(arrived.substr(base), markers_, search_, unit_)) {
        if (base + o.pos >= cutoff) break;
        found_.push_back({base + o.pos, o.length});
        reached = std::max(reached, base + o.pos + o.length);
    }
    settled_ = reached;
}

void MarkerScan::Advance(std::string_view arrived) {
    if (arrived.size() < settled_ + margin_ + leastStep_) return;
    // On a code unit, as settled_ is: both count from the start of the text.
    const std::size_t cutoff = (arrived.size() - margin_) / unit_ * unit_;
    SearchUpTo(arrived, cutoff);
}

std::vector<MarkerOccurrence> MarkerScan::Finish(std::string_view whole) {
    if (settled_ < whole.size()) SearchUpTo(whole, whole.size());
    return std::move(found_);
}

}  // namespace pw
