// TEMPORARY stand-in until the exact style reader lands.
#include "core/codeparse/style_reader.h"

#include "core/codeparse/c_lexer.h"

namespace pw {

bool ReadStyle(std::span<const Token> tokens, StyleReading& reading, std::string& problem) {
    (void)problem;
    for (const Token& t : tokens) {
        if (t.kind != TokenKind::Identifier) continue;
        for (std::size_t i = 0; i < kButtonSets.size(); ++i)
            if (kButtonSets[i].constant == t.text) reading.buttons = static_cast<int>(i);
        for (std::size_t i = 0; i < kIcons.size(); ++i)
            if (!kIcons[i].constant.empty() && kIcons[i].constant == t.text) reading.icon = static_cast<int>(i);
        for (std::size_t i = 0; i < kDefaultButtons.size(); ++i)
            if (kDefaultButtons[i].constant == t.text) reading.defButton = static_cast<int>(i);
        for (const CheckEntry& e : kModalities)
            if (e.constant == t.text) reading.modality = e.control;
        for (const CheckEntry& e : kFlags)
            if (e.constant == t.text) reading.checked.push_back(e.control);
    }
    return true;
}

void ApplyStyle(const StyleReading& reading, Form& form) {
    form.SetListPosition(IDC_BUTTONS, reading.buttons);
    form.SetListPosition(IDC_DEFBUTTON, reading.defButton);
    form.SetListPosition(IDC_ICON, reading.icon);
    form.CheckRadio(IDC_APPLMODAL, IDC_TASKMODAL, reading.modality);
    for (int id : reading.checked) form.SetChecked(id, true);
    form.SetText(IDC_OTHERSTYLE, reading.other);
    form.UpdateIconPreview();
}

int ReadLanguage(std::span<const Token> tokens, std::string& problem) {
    if (tokens.size() == 1)
        for (int row = 0; row < kLanguageCount; ++row)
            if (kLanguages[static_cast<std::size_t>(row)].id == tokens[0].text) return row;
    problem = "the language is not in the language list";
    return -1;
}

bool ReadStyleExpression(std::string_view expression, Form& form) {
    StyleReading reading;
    std::string problem;
    const auto tokens = Tokenize(expression);
    if (!ReadStyle(tokens, reading, problem)) return false;
    ApplyStyle(reading, form);
    return true;
}

}  // namespace pw
