#include "core/output/source_encoding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/model/utf8.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define PW_VECTOR_X86 1
#include <immintrin.h>
#else
#define PW_VECTOR_X86 0
#endif

namespace pw {
namespace {

// Passes over the ASCII bytes from `p` in whole steps (128 bytes with AVX2, 32
// without); stops at the step holding a byte beyond ASCII, or less than one
// step before `end`.
#if PW_VECTOR_X86
__attribute__((target("avx2"))) const unsigned char* SkipAsciiAvx2(const unsigned char* p, const unsigned char* end) {
    while (end - p >= 128) {
        const auto* v = reinterpret_cast<const __m256i*>(p);
        const __m256i any = _mm256_or_si256(_mm256_or_si256(_mm256_loadu_si256(v), _mm256_loadu_si256(v + 1)),
                                            _mm256_or_si256(_mm256_loadu_si256(v + 2), _mm256_loadu_si256(v + 3)));
        if (_mm256_movemask_epi8(any) != 0) break;
        p += 128;
    }
    return p;
}

bool HasAvx2() {
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}
#endif

const unsigned char* SkipAscii(const unsigned char* p, const unsigned char* end) {
#if PW_VECTOR_X86
    if (HasAvx2()) p = SkipAsciiAvx2(p, end);
#endif
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    while (end - p >= 32) {
        std::uint64_t w[4];
        std::memcpy(w, p, sizeof w);
        if (((w[0] | w[1] | w[2] | w[3]) & kHigh) != 0) break;
        p += 32;
    }
    return p;
}

struct Scan {
    bool invalid = false;
    bool beyondAscii = false;
    std::size_t cut;  // where a sequence the bytes end within starts (their size when none)
};

// Whether the bytes are strict UTF-8 (no over-long forms, no surrogates,
// nothing above U+10FFFF) and whether any character is beyond ASCII; a
// sequence cut at the end is left to the caller. Source is mostly ASCII, so
// runs of it are passed many bytes at a time.
Scan ScanUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = p + bytes.size();
    bool beyondAscii = false;
    while (p != end) {
        p = SkipAscii(p, end);
        // At most 32 bytes to the next non-ASCII byte (or the end).
        while (p != end && *p < 0x80) ++p;
        if (p == end) break;
        const unsigned lead = *p;
        std::size_t more;
        unsigned low = 0x80;
        unsigned high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            if (lead == 0xE0) low = 0xA0;   // over-long
            if (lead == 0xED) high = 0x9F;  // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            if (lead == 0xF0) low = 0x90;   // over-long
            if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
        } else {
            return {true, beyondAscii, 0};
        }
        if (static_cast<std::size_t>(end - p) <= more) break;
        if (p[1] < low || p[1] > high) return {true, beyondAscii, 0};
        for (std::size_t k = 2; k <= more; ++k)
            if ((p[k] & 0xC0) != 0x80) return {true, beyondAscii, 0};
        p += more + 1;
        beyondAscii = true;
    }
    return {false, beyondAscii, static_cast<std::size_t>(p - reinterpret_cast<const unsigned char*>(bytes.data()))};
}

// Bytes of the sequence a valid lead byte starts.
std::size_t SequenceSize(unsigned char lead) { return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2; }

bool StartsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

void AppendUnit(std::string& out, char16_t unit, bool bigEndian) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
}

}  // namespace

AsciiFileEncoding AsciiFileEncodingFromSetting(std::string_view value) {
    if (value.size() != 4) return AsciiFileEncoding::CodePage;
    for (std::size_t i = 0; i < 4; ++i) {
        const char c = value[i] >= 'A' && value[i] <= 'Z' ? static_cast<char>(value[i] - 'A' + 'a') : value[i];
        if (c != "utf8"[i]) return AsciiFileEncoding::CodePage;
    }
    return AsciiFileEncoding::Utf8;
}

void Utf8Check::Add(std::string_view piece) {
    if (invalid_) return;
    if (!cut_.empty()) {
        const std::size_t take =
            std::min(SequenceSize(static_cast<unsigned char>(cut_[0])) - cut_.size(), piece.size());
        cut_.append(piece.substr(0, take));
        piece.remove_prefix(take);
        if (cut_.size() < SequenceSize(static_cast<unsigned char>(cut_[0]))) return;
        const Scan scan = ScanUtf8(cut_);
        if (scan.invalid || scan.cut != cut_.size()) {
            invalid_ = true;
            return;
        }
        beyondAscii_ = true;
        cut_.clear();
    }
    const Scan scan = ScanUtf8(piece);
    invalid_ = scan.invalid;
    beyondAscii_ = beyondAscii_ || scan.beyondAscii;
    if (!invalid_) cut_.assign(piece.substr(scan.cut));
}

SourceFileEncoding DecideSourceEncoding(std::string_view bytes, const Utf8Check& check, AsciiFileEncoding asciiFiles) {
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return {SourceEncoding::Utf8, 3};
    if (StartsWith(bytes, "\xFF\xFE")) return {SourceEncoding::Utf16Le, 2};
    if (StartsWith(bytes, "\xFE\xFF")) return {SourceEncoding::Utf16Be, 2};
    if (!check.Valid()) return {SourceEncoding::CodePage, 0};
    if (check.BeyondAscii()) return {SourceEncoding::Utf8, 0};
    return {asciiFiles == AsciiFileEncoding::Utf8 ? SourceEncoding::Utf8 : SourceEncoding::CodePage, 0};
}

SourceFileEncoding DecideSourceEncoding(std::string_view bytes, AsciiFileEncoding asciiFiles) {
    Utf8Check check;
    check.Add(bytes);
    return DecideSourceEncoding(bytes, check, asciiFiles);
}

std::string EncodeUtf16(std::string_view utf8, SourceEncoding encoding) {
    const bool bigEndian = encoding == SourceEncoding::Utf16Be;
    std::string out;
    out.reserve(utf8.size() * 2);
    std::size_t i = 0;
    while (i < utf8.size()) {
        const char32_t c = NextCodePoint(utf8, i);
        if (c >= 0x10000) {
            AppendUnit(out, static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)), bigEndian);
            AppendUnit(out, static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), bigEndian);
        } else {
            AppendUnit(out, static_cast<char16_t>(c), bigEndian);
        }
    }
    return out;
}

std::string DecodeUtf16(std::string_view bytes, SourceEncoding encoding) {
    const bool bigEndian = encoding == SourceEncoding::Utf16Be;
    const std::size_t units = bytes.size() / 2;
    auto unit = [&](std::size_t k) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[2 * k]);
        const auto second = static_cast<unsigned char>(bytes[2 * k + 1]);
        return bigEndian ? (first << 8) | second : (second << 8) | first;
    };
    std::string out;
    out.reserve(units + units / 2);
    for (std::size_t k = 0; k < units; ++k) {
        char32_t c = unit(k);
        if (c >= 0xD800 && c <= 0xDBFF && k + 1 < units) {
            const char32_t next = unit(k + 1);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
                ++k;
            }
        }
        AppendUtf8(out, c);  // a lone surrogate stays one
    }
    if (bytes.size() % 2 != 0) AppendUtf8(out, 0xFFFD);
    return out;
}

}  // namespace pw
