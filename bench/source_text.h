// The C-like source text both splice benchmarks work on: markers spread
// evenly, 100,000 per 64 MiB (at least one), alternating the two default
// markers.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace bench {

constexpr std::size_t kMiB = 1024 * 1024;
inline const std::vector<std::string> kMarkers = {"/*MB*/", "/*mb*/"};
inline const std::string kCode =
    "MessageBox(hWnd, \"The file was saved.\", \"Promptwright\", MB_OK | MB_ICONINFORMATION);";

inline std::string MakeSource(std::size_t size) {
    static const char* const kLines[] = {
        "    /* Count the entries that are still open. */\r\n",
        "    for (int i = 0; i < count; ++i) {\r\n",
        "        if (items[i].state == STATE_OPEN) ++open; // still in use\r\n",
        "    }\r\n",
        "    if (MessageBox(hWnd, text, title, MB_YESNO) == IDNO) return FALSE;\r\n",
        "    total = (total * 31 + open) % 1000003;\r\n",
        "\r\n",
    };
    const std::size_t markers = std::max<std::size_t>(1, 100000 * size / (64 * kMiB));
    const std::size_t spacing = size / markers;
    std::string s;
    s.reserve(size + 128);
    std::size_t nextMarker = spacing / 2;
    std::size_t line = 0;
    std::size_t placed = 0;
    while (s.size() < size) {
        if (s.size() >= nextMarker && placed < markers) {
            s += "    ";
            s += kMarkers[placed % 2];
            s += "\r\n";
            ++placed;
            nextMarker += spacing;
        } else {
            s += kLines[line++ % (sizeof kLines / sizeof kLines[0])];
        }
    }
    s.resize(size);
    return s;
}

}  // namespace bench
