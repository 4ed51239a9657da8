// The two code options of the "Co&de" menu: how string literals are written
// (character set) and what the statement does with the box's answer. The
// writer takes them, the reader reports the ones it read, and the settings
// file keeps them in [Settings] as small integers.
#pragma once

#include <string_view>

namespace pw {

// Values are the settings-file values and the order of the menu's radio items.
enum class CharacterSet {
    Ansi = 0,  // "&ANSI strings": MessageBox, "..." (the statements of old)
    Text = 1,  // "&TEXT() strings": MessageBox, TEXT("..."), compiles with and without UNICODE
    Wide = 2,  // "&Wide strings": MessageBoxW, MSGBOXPARAMSW, L"..."
};

enum class AnswerHandling {
    None = 0,    // "&No answer handling": the plain statement
    If = 1,      // "&if on the first answer": if (call == IDYES) { }
    Switch = 2,  // "&switch on every answer": switch (call) { case IDYES: break; ... }
};

struct CodeOptions {
    CharacterSet characterSet = CharacterSet::Ansi;
    AnswerHandling answer = AnswerHandling::None;
    bool operator==(const CodeOptions&) const = default;
};

// Keys in the [Settings] section of the settings file.
inline constexpr char kCharacterSetKey[] = "CharacterSet";
inline constexpr char kAnswerHandlingKey[] = "AnswerHandling";

// A settings value to its option: 0, 1 or 2 as above; any other number reads
// as 0. The text forms take the value as the profile functions return it: a
// missing key (empty text), anything but one digit 0-2 with optional blanks
// around it ("1x", "01", "-1", "one") reads as 0.
CharacterSet CharacterSetFromSetting(int value);
AnswerHandling AnswerHandlingFromSetting(int value);
CharacterSet CharacterSetFromSetting(std::string_view value);
AnswerHandling AnswerHandlingFromSetting(std::string_view value);

// The value to write to the settings file (and the radio item's offset in its group).
constexpr int SettingValue(CharacterSet set) { return static_cast<int>(set); }
constexpr int SettingValue(AnswerHandling answer) { return static_cast<int>(answer); }

}  // namespace pw
