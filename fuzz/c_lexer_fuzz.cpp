// The lexer over any bytes: tokens come in source order, never overlap, lie
// inside the source, and are what the source holds at their offset; bytes
// between two tokens (white space, comments, splices) are told by spaceBefore.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/lex/c_lexer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view source(reinterpret_cast<const char*>(data), size);
    pw::Lexer lexer(source);
    pw::Token token;
    std::size_t end = 0;
    while (lexer.Next(token)) {
        if (token.offset < end || token.text.empty() || token.end() > source.size()) __builtin_trap();
        if (source.substr(token.offset, token.text.size()) != token.text) __builtin_trap();
        // Nothing lies between two tokens but what spaceBefore tells of.
        if (!token.spaceBefore && token.offset != end) __builtin_trap();
        end = token.end();
    }
    return 0;
}
