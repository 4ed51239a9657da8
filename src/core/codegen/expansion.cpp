#include "core/codegen/expansion.h"

#include <cstddef>

namespace pw {

std::string ExpandLineFeeds(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 16);
    std::size_t start = 0;  // first character not yet copied
    for (std::size_t lf = text.find('\n'); lf != std::string_view::npos; lf = text.find('\n', lf + 1)) {
        if (lf > 0 && text[lf - 1] == '\r') continue;  // already a CR LF pair
        out.append(text, start, lf - start);
        out += "\r\n";
        start = lf + 1;
    }
    out.append(text, start, std::string_view::npos);
    return out;
}

}  // namespace pw
