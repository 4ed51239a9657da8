#include "core/model/code_options.h"

namespace pw {
namespace {

// 0, 1 or 2 for a value of one digit 0-2 between optional blanks, else 0.
int OptionValue(std::string_view value) {
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string_view::npos) return 0;
    const auto last = value.find_last_not_of(" \t");
    if (last != first || value[first] < '0' || value[first] > '2') return 0;
    return value[first] - '0';
}

}  // namespace

CharacterSet CharacterSetFromSetting(int value) {
    return value >= 0 && value <= 2 ? static_cast<CharacterSet>(value) : CharacterSet::Ansi;
}

AnswerHandling AnswerHandlingFromSetting(int value) {
    return value >= 0 && value <= 2 ? static_cast<AnswerHandling>(value) : AnswerHandling::None;
}

CharacterSet CharacterSetFromSetting(std::string_view value) { return CharacterSetFromSetting(OptionValue(value)); }

AnswerHandling AnswerHandlingFromSetting(std::string_view value) {
    return AnswerHandlingFromSetting(OptionValue(value));
}

}  // namespace pw
