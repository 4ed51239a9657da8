#include "core/help/help_topics.h"

namespace pw {
namespace {

constexpr std::string_view kTopicMark = "## ";

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

void AddLine(HelpTopic& topic, std::string_view line, int& blankLinesHeld) {
    // Blank lines are held back until a line follows, so none end a topic
    // and none start one.
    if (IsBlank(line)) {
        if (!topic.text.empty()) ++blankLinesHeld;
        return;
    }
    for (; blankLinesHeld > 0; --blankLinesHeld) topic.text += "\r\n";
    if (!topic.text.empty()) topic.text += "\r\n";
    topic.text += line;
}

}  // namespace

std::vector<HelpTopic> SplitHelpTopics(std::string_view text) {
    std::vector<HelpTopic> topics;
    int blankLinesHeld = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.substr(0, kTopicMark.size()) == kTopicMark) {
            topics.push_back({std::string(line.substr(kTopicMark.size())), {}});
            blankLinesHeld = 0;
        } else if (!topics.empty()) {
            AddLine(topics.back(), line, blankLinesHeld);
        }
    }
    return topics;
}

}  // namespace pw
