#include "core/model/code_page.h"

#include <array>

namespace pw {
namespace {

// 0x80-0x9F; the undefined bytes map to the C1 control of the same number,
// as MultiByteToWideChar does for code page 1252.
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

class Windows1252CodePage final : public CodePage {
public:
    bool Encode(char32_t codePoint, std::string& out) const override {
        if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
            out.push_back(static_cast<char>(codePoint));
            return true;
        }
        for (std::size_t i = 0; i < kHighControls.size(); ++i)
            if (kHighControls[i] == codePoint) {
                out.push_back(static_cast<char>(0x80 + i));
                return true;
            }
        return false;
    }
};

}  // namespace

const CodePage& Windows1252() {
    static const Windows1252CodePage codePage;
    return codePage;
}

}  // namespace pw
