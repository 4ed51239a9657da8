#include "core/output/splice.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <vector>

#include "core/output/vector_support.h"

namespace pw {
namespace {

using Occurrence = MarkerOccurrence;

bool Overlaps(std::string_view piece, const std::string& buffer) {
    const std::less<const char*> before;
    const char* begin = buffer.data();
    const char* end = begin + buffer.capacity();
    return !piece.empty() && before(piece.data(), end) && before(begin, piece.data() + piece.size());
}

// Builds the spliced text in a string as the search goes, the search copying
// the text while it reads it. The string's size is used as room, so a string
// that is used again needs no new memory and no clearing.
class CopySink final : public OccurrenceSink {
public:
    CopySink(std::string_view code, std::string_view source, std::string& out)
        : code_(code), source_(source), out_(out) {
        if (out_.size() < source.size()) out_.resize(source.size());
    }

    void Found(std::size_t pos, std::size_t length) override {
        Settled(pos);
        const std::size_t at = Out(pos);
        Room(at + code_.size());
        if (!code_.empty()) std::memcpy(out_.data() + at, code_.data(), code_.size());
        shift_ += code_.size() - length;  // wraps below zero; positions stay right
        found_ = true;
        const std::size_t after = pos + length;
        if (copied_ > after) {
            // What was copied past the occurrence moves with the new shift.
            Room(Out(copied_));
            std::memcpy(out_.data() + Out(after), source_.data() + after, copied_ - after);
        } else {
            copied_ = after;
        }
    }

    void Settled(std::size_t pos) override {
        if (pos <= copied_) return;
        Room(Out(pos));
        std::memcpy(out_.data() + Out(copied_), source_.data() + copied_, pos - copied_);
        copied_ = pos;
    }

    bool CopiesAhead() const override { return true; }

    char* CopyTo(std::size_t from, std::size_t to) override {
        Settled(from);
        Room(Out(to));
        return out_.data() + Out(from);
    }

    void Copied(std::size_t pos) override { copied_ = std::max(copied_, pos); }

    bool FoundAny() const { return found_; }

    // Call once the search is done.
    void Finish() { out_.resize(Out(copied_)); }

private:
    std::size_t Out(std::size_t pos) const { return pos + shift_; }

    void Room(std::size_t size) {
        if (out_.size() < size) out_.resize(std::max(size, out_.size() + out_.size() / 2));
    }

    std::string_view code_;
    std::string_view source_;
    std::string& out_;
    std::size_t copied_ = 0;  // text before this is in `out_` at the current shift
    std::size_t shift_ = 0;
    bool found_ = false;
};

// Moves the spliced text forward within the source's own buffer as the search
// goes. Safe when no occurrence is shorter than the code: the write position
// then never passes what has been read.
class ShiftSink final : public OccurrenceSink {
public:
    ShiftSink(std::string_view code, char* text) : code_(code), text_(text) {}

    void Found(std::size_t pos, std::size_t length) override {
        Settled(pos);
        if (!code_.empty()) std::memcpy(text_ + written_, code_.data(), code_.size());
        written_ += code_.size();
        read_ = pos + length;
        found_ = true;
    }

    void Settled(std::size_t pos) override {
        if (pos <= read_) return;
        if (written_ != read_) std::memmove(text_ + written_, text_ + read_, pos - read_);
        written_ += pos - read_;
        read_ = pos;
    }

    bool FoundAny() const { return found_; }
    std::size_t Written() const { return written_; }

private:
    std::string_view code_;
    char* text_;
    std::size_t read_ = 0;
    std::size_t written_ = 0;
    bool found_ = false;
};

// Lends the calling thread's occurrence list, kept between calls: a text with
// many markers needs megabytes of them, and memory fresh from the system costs
// a page fault per page on first touch, more than the search.
class ListLoan {
public:
    ListLoan() : list_(Instance()) { list_.clear(); }
    ~ListLoan() {
        if (list_.capacity() > kKeep) std::vector<Occurrence>().swap(list_);
    }
    ListLoan(const ListLoan&) = delete;
    ListLoan& operator=(const ListLoan&) = delete;

    std::vector<Occurrence>& List() { return list_; }

private:
    // Lists grown past this many entries are given back after use.
    static constexpr std::size_t kKeep = 1 << 18;

    static std::vector<Occurrence>& Instance() {
        thread_local std::vector<Occurrence> list;
        return list;
    }
    std::vector<Occurrence>& list_;
};

#if PW_VECTOR_X86
// memmove to a higher address, from the top down in 64-byte steps. The
// growing splice moves thousands of stretches one after another down through
// the text; taken this way they make one falling stream that the processor
// fetches ahead, where memmove's own order for each would break it up.
PW_AVX2 void MoveUpAvx2(char* to, const char* from, std::size_t n) {
    while (n >= 64) {
        n -= 64;
        const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + n));
        const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + n + 32));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + n), lo);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + n + 32), hi);
    }
    std::memmove(to, from, n);
}
#endif

void MoveUp(char* to, const char* from, std::size_t n) {
#if PW_VECTOR_X86
    if (UseAvx2()) {
        MoveUpAvx2(to, from, n);
        return;
    }
#endif
    std::memmove(to, from, n);
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
        MoveUp(base + write, base + it->pos + it->length, tail);
        write -= code.size();
        if (!code.empty()) std::memcpy(base + write, code.data(), code.size());
        read = it->pos;
    }
}

std::size_t ShortestMarker(std::span<const std::string> markers) {
    std::size_t shortest = std::string::npos;
    for (const std::string& m : markers) {
        if (!m.empty()) shortest = std::min(shortest, m.size());
    }
    return shortest;
}

}  // namespace

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

bool SpliceCode(std::string_view code, std::string_view source, std::span<const std::string> markers,
                std::string& out) {
    if (Overlaps(code, out) || Overlaps(source, out)) {
        std::string fresh;
        const bool found = SpliceCode(code, source, markers, fresh);
        out.swap(fresh);
        return found;
    }
    CopySink sink(code, source, out);
    FindMarkers(source, markers, sink);
    sink.Finish();
    return sink.FoundAny();
}

bool SpliceCode(std::string_view code, std::string& source, std::span<const std::string> markers) {
    if (Overlaps(code, source)) {
        const std::string own(code);
        return SpliceCode(own, source, markers);
    }
    if (code.size() <= ShortestMarker(markers)) {
        ShiftSink sink(code, source.data());
        FindMarkers(source, markers, sink);
        source.resize(sink.Written());
        return sink.FoundAny();
    }

    ListLoan loan;
    const std::vector<Occurrence>& list = loan.List();
    OccurrenceList sink(loan.List());
    FindMarkers(source, markers, sink);
    if (list.empty()) return false;
    const std::size_t newSize = SplicedSize(source.size(), code.size(), list);
    // Moving the bytes within the buffer saves allocating and first touching a
    // second one, which for large texts costs far more than the copy itself.
    std::size_t longest = 0;
    for (const Occurrence& o : list) longest = std::max(longest, o.length);
    if (code.size() >= longest && source.capacity() >= newSize) {
        GrowInPlace(code, source, list, newSize);
        return true;
    }
    std::string out;
    out.reserve(newSize);
    VisitSplicedText(code, source, list, [&out](std::string_view piece) { out.append(piece); });
    source.swap(out);
    return true;
}

}  // namespace pw
