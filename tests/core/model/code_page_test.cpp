// Windows-1252 as Windows converts it.
#include "core/model/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace pw {
namespace {

TEST(Windows1252, DecodesAsWindowsDoes) {
    const struct {
        unsigned char byte;
        char32_t codePoint;
    } cases[] = {
        {0x80, 0x20AC}, {0x81, 0x0081}, {0x82, 0x201A}, {0x8D, 0x008D}, {0x8F, 0x008F},
        {0x90, 0x0090}, {0x9D, 0x009D}, {0x9F, 0x0178}, {0x8A, 0x0160}, {0x99, 0x2122},
        {0xA0, 0x00A0}, {0xDF, 0x00DF}, {0xE9, 0x00E9}, {0xFC, 0x00FC}, {0xFF, 0x00FF},
    };
    for (const auto& c : cases) {
        const std::string bytes{static_cast<char>(c.byte), 'x'};
        const DecodedCharacter decoded = Windows1252().Decode(bytes);
        EXPECT_EQ(decoded.codePoint, c.codePoint) << int(c.byte);
        EXPECT_EQ(decoded.length, 1u);
    }
}

TEST(Windows1252, EncodesEveryCharacterItHasAndNothingElse) {
    for (int byte = 0x80; byte < 0x100; ++byte) {
        const char32_t codePoint = Windows1252().Decode(std::string(1, static_cast<char>(byte))).codePoint;
        std::string out = "a";
        ASSERT_TRUE(Windows1252().Encode(codePoint, out)) << byte;
        EXPECT_EQ(out, std::string("a") + static_cast<char>(byte));
    }
    for (char32_t missing : {0x0080u, 0x009Fu, 0x0100u, 0x4E2Du, 0xFFFDu, 0x1F600u}) {
        std::string out;
        EXPECT_FALSE(Windows1252().Encode(missing, out)) << static_cast<unsigned>(missing);
        EXPECT_EQ(out, "");
    }
}

}  // namespace
}  // namespace pw
