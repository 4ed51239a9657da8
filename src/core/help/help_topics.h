// The program's own help: a text of topics, each opened by a line "## Title".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pw {

struct HelpTopic {
    std::string title;
    std::string text;  // lines separated by CR LF, as an edit control shows them
};

// The topics of a help text, in order. A line that starts with "## " opens a
// topic; the lines up to the next such line are its text, without the blank
// lines at its start and end. Lines before the first topic are not shown.
// Line ends may be LF or CR LF.
std::vector<HelpTopic> SplitHelpTopics(std::string_view text);

}  // namespace pw
