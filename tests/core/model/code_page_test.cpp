// Windows-1252 as Windows converts it.
#include "core/model/code_page.h"

#include <gtest/gtest.h>

#include <bitset>
#include <string>

namespace pw {
namespace {

TEST(Windows1252, EncodesAsWindowsDoes) {
    const struct {
        unsigned char byte;
        char32_t codePoint;
    } cases[] = {
        {0x80, 0x20AC}, {0x81, 0x0081}, {0x82, 0x201A}, {0x8D, 0x008D}, {0x8F, 0x008F},
        {0x90, 0x0090}, {0x9D, 0x009D}, {0x9F, 0x0178}, {0x8A, 0x0160}, {0x99, 0x2122},
        {0xA0, 0x00A0}, {0xDF, 0x00DF}, {0xE9, 0x00E9}, {0xFC, 0x00FC}, {0xFF, 0x00FF},
    };
    for (const auto& c : cases) {
        std::string out = "a";
        ASSERT_TRUE(Windows1252().Encode(c.codePoint, out)) << int(c.byte);
        EXPECT_EQ(out, std::string("a") + static_cast<char>(c.byte));
    }
}

TEST(Windows1252, EncodesEveryCharacterItHasAndNothingElse) {
    // Every byte from 0x80 up is exactly one character of the Basic
    // Multilingual Plane.
    std::bitset<256> bytes;
    for (char32_t codePoint = 0x80; codePoint < 0x10000; ++codePoint) {
        std::string out;
        if (!Windows1252().Encode(codePoint, out)) {
            EXPECT_EQ(out, "");
            continue;
        }
        ASSERT_EQ(out.size(), 1u) << static_cast<unsigned>(codePoint);
        const auto byte = static_cast<unsigned char>(out[0]);
        EXPECT_GE(byte, 0x80) << static_cast<unsigned>(codePoint);
        EXPECT_FALSE(bytes[byte]) << static_cast<unsigned>(codePoint);
        bytes[byte] = true;
    }
    EXPECT_EQ(bytes.count(), 128u);
    for (char32_t missing : {0x0080u, 0x009Fu, 0x0100u, 0x4E2Du, 0xFFFDu, 0x1F600u}) {
        std::string out;
        EXPECT_FALSE(Windows1252().Encode(missing, out)) << static_cast<unsigned>(missing);
        EXPECT_EQ(out, "");
    }
}

}  // namespace
}  // namespace pw
