#include "output/splice.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <vector>

#include "output/splice_testing.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define PW_SPLICE_X86 1
#include <immintrin.h>
#else
#define PW_SPLICE_X86 0
#endif

namespace pw {
namespace {

using Occurrence = MarkerOccurrence;

using ByteCounts = std::array<std::uint32_t, 256>;

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

// Portable search: memchr on the marker's rarest byte, then a compare of the
// whole marker around each hit.
std::size_t FindByRareByte(const char* text, std::size_t from, std::size_t end, std::string_view marker,
                           std::size_t rareIndex) {
    const std::size_t m = marker.size();
    const unsigned char rare = static_cast<unsigned char>(marker[rareIndex]);
    const char* p = text + from + rareIndex;
    const char* const last = text + (end - m) + rareIndex;  // inclusive
    while (p <= last) {
        const void* hit = std::memchr(p, rare, static_cast<std::size_t>(last - p) + 1);
        if (hit == nullptr) break;
        p = static_cast<const char*>(hit);
        const char* start = p - rareIndex;
        if (std::memcmp(start, marker.data(), m) == 0) return static_cast<std::size_t>(start - text);
        ++p;
    }
    return std::string_view::npos;
}

#if PW_SPLICE_X86
#define PW_AVX2 __attribute__((target("avx2")))

// Start positions at `at`..`at`+31 whose byte is `first` and whose byte m-1
// further on is `last`.
PW_AVX2 inline __m256i ProbeAvx2(const char* at, std::size_t m, __m256i first, __m256i last) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + m - 1));
    return _mm256_and_si256(_mm256_cmpeq_epi8(a, first), _mm256_cmpeq_epi8(b, last));
}

PW_AVX2 inline std::size_t VerifyAvx2(const char* text, std::size_t base, __m256i probe, std::string_view marker) {
    auto mask = static_cast<std::uint32_t>(_mm256_movemask_epi8(probe));
    while (mask != 0) {
        const std::size_t q = base + static_cast<std::size_t>(__builtin_ctz(mask));
        if (std::memcmp(text + q + 1, marker.data() + 1, marker.size() - 2) == 0) return q;
        mask &= mask - 1;
    }
    return std::string_view::npos;
}

// Tests 64 start positions at a time for the marker's first and last byte
// together; in C source that pair is far rarer than any single byte, so the
// whole compare runs seldom and the scan keeps up with memory.
PW_AVX2 std::size_t FindAvx2(const char* text, std::size_t from, std::size_t end, std::string_view marker) {
    const std::size_t m = marker.size();
    const __m256i first = _mm256_set1_epi8(marker[0]);
    const __m256i last = _mm256_set1_epi8(marker[m - 1]);
    const std::size_t starts = end - m + 1;  // start positions are below this
    std::size_t p = from;
    for (; p + 64 <= starts; p += 64) {
        const __m256i lo = ProbeAvx2(text + p, m, first, last);
        const __m256i hi = ProbeAvx2(text + p + 32, m, first, last);
        const __m256i any = _mm256_or_si256(lo, hi);
        if (_mm256_testz_si256(any, any)) continue;
        std::size_t q = VerifyAvx2(text, p, lo, marker);
        if (q == std::string_view::npos) q = VerifyAvx2(text, p + 32, hi, marker);
        if (q != std::string_view::npos) return q;
    }
    for (; p + 32 <= starts; p += 32) {
        const std::size_t q = VerifyAvx2(text, p, ProbeAvx2(text + p, m, first, last), marker);
        if (q != std::string_view::npos) return q;
    }
    for (; p < starts; ++p) {
        if (text[p] == marker[0] && text[p + m - 1] == marker[m - 1] &&
            std::memcmp(text + p + 1, marker.data() + 1, m - 2) == 0) {
            return p;
        }
    }
    return std::string_view::npos;
}

std::atomic<bool> portableOnly{false};

bool HaveAvx2() {
    static const bool have = __builtin_cpu_supports("avx2");
    return have && !portableOnly.load(std::memory_order_relaxed);
}
#endif

// Finds one marker's occurrences within a range of the text.
class MarkerFinder {
public:
    MarkerFinder(std::string_view marker, std::string_view text, ByteCounts& counts, bool& counted) : marker_(marker) {
#if PW_SPLICE_X86
        avx2_ = marker.size() >= 2 && HaveAvx2();
        if (avx2_) return;
#endif
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
#if PW_SPLICE_X86
        if (avx2_) return FindAvx2(text, from, end, marker_);
#endif
        return FindByRareByte(text, from, end, marker_, rareIndex_);
    }

private:
    std::string_view marker_;
    std::size_t rareIndex_ = 0;
#if PW_SPLICE_X86
    bool avx2_ = false;
#endif
};

// The occurrence lists live in per-thread scratch space kept between calls: a
// text with many markers needs megabytes of them, and memory fresh from the
// system costs a page fault per page on first touch, more than the search.
struct Scratch {
    std::vector<Occurrence> taken;
    std::vector<Occurrence> found;
    std::vector<Occurrence> merged;

    // Lists grown past this many entries are given back after use.
    static constexpr std::size_t kKeep = 1 << 18;

    void Trim() {
        for (std::vector<Occurrence>* v : {&taken, &found, &merged}) {
            if (v->capacity() > kKeep) std::vector<Occurrence>().swap(*v);
        }
    }
};

// All occurrences of all markers, sorted by position and not overlapping. A
// marker is searched only in the gaps that earlier markers left, so it can
// neither match inside an earlier occurrence nor across one.
const std::vector<Occurrence>& FindOccurrences(std::string_view text, std::span<const std::string> markers,
                                               Scratch& scratch) {
    std::vector<Occurrence>& taken = scratch.taken;
    std::vector<Occurrence>& found = scratch.found;
    std::vector<Occurrence>& merged = scratch.merged;
    taken.clear();
    ByteCounts counts{};
    bool counted = false;

    for (const std::string& marker : markers) {
        if (marker.empty() || marker.size() > text.size()) continue;
        const MarkerFinder finder(marker, text, counts, counted);
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
    return taken;
}

// In place, left to right; safe when no occurrence is shorter than the code,
// as the write position then never passes the read position.
void ShrinkInPlace(std::string_view code, std::string& source, const std::vector<Occurrence>& occurrences,
                   std::size_t newSize) {
    char* const base = source.data();
    std::size_t write = occurrences.front().pos;
    std::size_t read = write;
    for (const Occurrence& o : occurrences) {
        if (write != read) std::memmove(base + write, base + read, o.pos - read);
        write += o.pos - read;
        if (!code.empty()) std::memcpy(base + write, code.data(), code.size());
        write += code.size();
        read = o.pos + o.length;
    }
    if (write != read) std::memmove(base + write, base + read, source.size() - read);
    source.resize(newSize);
}

// In place, right to left, within capacity already there; safe when no
// occurrence is longer than the code.
void GrowInPlace(std::string_view code, std::string& source, const std::vector<Occurrence>& occurrences,
                 std::size_t newSize) {
    std::size_t read = source.size();
    source.resize(newSize);
    char* const base = source.data();
    std::size_t write = newSize;
    for (auto it = occurrences.rbegin(); it != occurrences.rend(); ++it) {
        const std::size_t tail = read - (it->pos + it->length);
        write -= tail;
        std::memmove(base + write, base + it->pos + it->length, tail);
        write -= code.size();
        if (!code.empty()) std::memcpy(base + write, code.data(), code.size());
        read = it->pos;
    }
}

bool Overlaps(std::string_view code, const std::string& buffer) {
    const std::less<const char*> before;
    const char* begin = buffer.data();
    const char* end = begin + buffer.capacity();
    return !code.empty() && before(code.data(), end) && before(begin, code.data() + code.size());
}

// Lends the calling thread's scratch space for one call and trims it on every
// way out.
class ScratchLoan {
public:
    ScratchLoan() : scratch_(Instance()) {}
    ~ScratchLoan() { scratch_.Trim(); }
    ScratchLoan(const ScratchLoan&) = delete;
    ScratchLoan& operator=(const ScratchLoan&) = delete;
    Scratch& operator*() { return scratch_; }

private:
    static Scratch& Instance() {
        thread_local Scratch scratch;
        return scratch;
    }
    Scratch& scratch_;
};

}  // namespace

void UsePortableSearchForTesting(bool portable) {
#if PW_SPLICE_X86
    portableOnly.store(portable, std::memory_order_relaxed);
#else
    (void)portable;
#endif
}

std::vector<MarkerOccurrence> FindMarkerOccurrences(std::string_view source, std::span<const std::string> markers) {
    ScratchLoan scratch;
    return FindOccurrences(source, markers, *scratch);
}

std::size_t SplicedSize(std::size_t sourceSize, std::size_t codeSize, std::span<const MarkerOccurrence> occurrences) {
    std::size_t removed = 0;
    for (const Occurrence& o : occurrences) removed += o.length;
    const std::size_t kept = sourceSize - removed;
    const std::size_t count = occurrences.size();
    const std::size_t limit = std::string().max_size();
    if (codeSize != 0 && (count > (limit - kept) / codeSize)) {
        throw std::length_error("spliced text too long");
    }
    return kept + count * codeSize;
}

bool SpliceCode(std::string_view code, std::string& source, std::span<const std::string> markers) {
    ScratchLoan scratch;
    const std::vector<Occurrence>& occurrences = FindOccurrences(source, markers, *scratch);
    if (occurrences.empty()) return false;
    const std::size_t newSize = SplicedSize(source.size(), code.size(), occurrences);

    std::size_t shortest = occurrences.front().length;
    std::size_t longest = shortest;
    for (const Occurrence& o : occurrences) {
        shortest = std::min(shortest, o.length);
        longest = std::max(longest, o.length);
    }
    // Moving the bytes within the buffer saves allocating and first touching a
    // second one, which for large texts costs as much as the copy itself.
    if (!Overlaps(code, source)) {
        if (code.size() <= shortest) {
            ShrinkInPlace(code, source, occurrences, newSize);
            return true;
        }
        if (code.size() >= longest && source.capacity() >= newSize) {
            GrowInPlace(code, source, occurrences, newSize);
            return true;
        }
    }
    std::string out;
    out.reserve(newSize);
    VisitSplicedText(code, source, occurrences, [&out](std::string_view piece) { out.append(piece); });
    source.swap(out);
    return true;
}

}  // namespace pw
