// A plain model of the splice for tests and fuzzing to hold the real one to.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// Straightforward model of the rules: a mask of bytes taken by earlier
// occurrences, and a scan per marker, a code unit (of `unit` bytes) at a time.
inline std::string ReferenceSplice(std::string_view code, std::string_view source,
                                   const std::vector<std::string>& markers, bool& found, std::size_t unit = 1) {
    std::vector<std::size_t> markerAt(source.size(), 0);  // occurrence length starting here
    std::vector<bool> taken(source.size(), false);
    found = false;
    for (const std::string& m : markers) {
        if (m.empty() || m.size() % unit != 0) continue;
        for (std::size_t i = 0; i + m.size() <= source.size();) {
            bool free = source.compare(i, m.size(), m) == 0;
            for (std::size_t k = 0; k < m.size() && free; ++k) free = !taken[i + k];
            if (free) {
                for (std::size_t k = 0; k < m.size(); ++k) taken[i + k] = true;
                markerAt[i] = m.size();
                found = true;
                i += m.size();
            } else {
                i += unit;
            }
        }
    }
    std::string out;
    for (std::size_t i = 0; i < source.size();) {
        if (markerAt[i] != 0) {
            out += code;
            i += markerAt[i];
        } else {
            out += source[i++];
        }
    }
    return out;
}

}  // namespace pw
