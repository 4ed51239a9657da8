#include "core/convert/call_rewrite.h"

#include <span>
#include <vector>

namespace pw {
namespace {

std::vector<std::string_view> SplitLines(std::string_view statement) {
    std::vector<std::string_view> lines;
    std::size_t from = 0;
    while (true) {
        const std::size_t nl = statement.find('\n', from);
        std::string_view line = statement.substr(from, nl == std::string_view::npos ? std::string_view::npos : nl - from);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        if (nl == std::string_view::npos) break;
        from = nl + 1;
    }
    while (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    return lines;
}

// The blanks the line holding `offset` starts with.
std::string_view IndentationAt(std::string_view text, std::size_t offset) {
    const std::size_t nl = offset == 0 ? std::string_view::npos : text.rfind('\n', offset - 1);
    const std::size_t start = nl == std::string_view::npos ? 0 : nl + 1;
    std::size_t end = start;
    while (end < text.size() && (text[end] == ' ' || text[end] == '\t')) ++end;
    return text.substr(start, end - start);
}

// The lines joined, each after the first indented (an empty one stays empty).
void AppendLines(std::string& out, std::span<const std::string_view> lines, std::string_view lineEnd,
                 std::string_view indent) {
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (k > 0) {
            out += lineEnd;
            if (!lines[k].empty()) out += indent;
        }
        out += lines[k];
    }
}

bool IsAnswerForm(std::string_view line) { return line.starts_with("if (") || line.starts_with("switch ("); }

}  // namespace

std::string_view LineEndAt(std::string_view text, std::size_t offset) {
    std::size_t nl = text.find('\n', offset);
    if (nl == std::string_view::npos && offset > 0) nl = text.rfind('\n', offset - 1);
    if (nl == std::string_view::npos) return "\r\n";
    return nl > 0 && text[nl - 1] == '\r' ? std::string_view("\r\n") : std::string_view("\n");
}

std::size_t Utf16UnitsBefore(std::string_view utf8, std::size_t offset) {
    std::size_t units = 0;
    for (std::size_t k = 0; k < offset && k < utf8.size(); ++k) {
        const unsigned char c = static_cast<unsigned char>(utf8[k]);
        if ((c & 0xC0) != 0x80) units += c >= 0xF0 ? 2 : 1;
    }
    return units;
}

std::optional<CallReplacement> RewriteCall(std::string_view source, const FoundCall& call, std::string_view statement,
                                           std::string* problem) {
    auto refuse = [&](std::string why) -> std::optional<CallReplacement> {
        if (problem) *problem = std::move(why);
        return std::nullopt;
    };
    if (!call.rewriteProblem.empty()) return refuse("the call cannot be replaced as a whole: " + std::string(call.rewriteProblem));
    std::vector<std::string_view> lines = SplitLines(statement);
    const bool setUp = call.setUpStart != kNoOffset;
    CallReplacement r;
    r.start = call.replaceStart();
    const std::string_view lineEnd = LineEndAt(source, r.start);
    if (call.ownStatement) {
        r.end = call.statementEnd;
        AppendLines(r.text, lines, lineEnd, IndentationAt(source, r.start));
        return r;
    }
    std::string_view last = lines.back();
    if (last.ends_with(';')) last.remove_suffix(1);
    const std::string_view context = source.substr(call.contextStart, call.nameStart - call.contextStart);
    r.end = call.callEnd;
    if (lines.size() == 1) {
        // A set-up the new call no longer uses goes; the context stays.
        if (setUp) r.text = context;
        r.text += last;
        return r;
    }
    if (IsAnswerForm(lines.front()) || IsAnswerForm(last))
        return refuse("a call inside other code takes no answer handling");
    if (!setUp) r.start = call.contextStart;
    const std::span<const std::string_view> before(lines.data(), lines.size() - 1);
    const std::string_view indent = IndentationAt(source, r.start);
    AppendLines(r.text, before, lineEnd, indent);
    r.text += lineEnd;
    r.text += indent;
    r.text += context;
    r.text += last;
    return r;
}

}  // namespace pw
