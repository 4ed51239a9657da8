// Writes a C file of task-dialog statements from WriteTaskDialog, one function
// per statement, for scripts/compile-check.sh to compile against <windows.h>
// and <commctrl.h> as C and as C++, with and without UNICODE:
//
//   task_dialog_corpus OUTPUT_FILE [SEED] [RANDOM_CONFIGS]
//
// The configurations: a sweep (the typical dialog; each field beyond the
// short call alone; every icon, common button, owner and variable in every
// text field; 100 custom and 100 radio buttons with texts of great length)
// plus RANDOM_CONFIGS drawn from test::TaskDialogMaker seeded with SEED, each
// written in every answer option. The file goes through the expansion pass,
// as statement text does on its way into a source file.
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>

#include "core/codegen/expansion.h"
#include "core/codegen/task_dialog_fixtures.h"
#include "core/codegen/task_dialog_writer.h"

namespace {

using namespace pw;

struct Corpus {
    std::string body;
    int count = 0, indirect = 0;

    void Add(const TaskDialogConfig& config) {
        if (auto problem = TaskDialogProblem(config)) {
            std::cerr << "task_dialog_corpus: a configuration with a problem: " << *problem << "\n";
            std::exit(1);
        }
        for (AnswerHandling answer : {AnswerHandling::None, AnswerHandling::If, AnswerHandling::Switch}) {
            const std::string statement = WriteTaskDialog(config, answer);
            indirect += statement.starts_with("TASK") ? 1 : 0;
            body += "int task_dialog_" + std::to_string(++count) + "(HWND hwnd)\n{\n" + statement +
                    "\n(void)hwnd;\nreturn 0;\n}\n\n";
        }
    }
};

void Sweep(Corpus& corpus) {
    corpus.Add(TaskDialogConfig{});
    corpus.Add(test::TypicalTaskDialog());

    // clang-format off
    const std::function<void(TaskDialogConfig&)> extras[] = {
        [](auto& c) { c.buttons = {{"1001", "Go"}}; },
        [](auto& c) { c.commandLinks = true; },
        [](auto& c) { c.defaultButton = "IDNO"; },
        [](auto& c) { c.radioButtons = {{"1", "One"}}; },
        [](auto& c) { c.defaultRadioButton = "1"; },
        [](auto& c) { c.noDefaultRadioButton = true; },
        [](auto& c) { c.verification = {"Don't ask again"}; },
        [](auto& c) { c.verificationChecked = true; },
        [](auto& c) { c.expandedInformation = {"More"}; },
        [](auto& c) { c.expandedByDefault = true; },
        [](auto& c) { c.expandFooterArea = true; },
        [](auto& c) { c.expandedControlText = {"Less"}; },
        [](auto& c) { c.collapsedControlText = {"More"}; },
        [](auto& c) { c.footer = {"Foot"}; },
        [](auto& c) { c.footerIcon = TaskIcon::Shield; },
        [](auto& c) { c.allowCancellation = true; },
        [](auto& c) { c.enableHyperlinks = true; },
        [](auto& c) { c.canBeMinimized = true; },
        [](auto& c) { c.positionRelativeToWindow = true; },
        [](auto& c) { c.rtlLayout = true; },
        [](auto& c) { c.sizeToContent = true; },
        [](auto& c) { c.width = 300; },
    };
    // clang-format on
    for (const auto& extra : extras) {
        TaskDialogConfig c;
        c.title = {"Title"};
        extra(c);
        corpus.Add(c);
    }
    for (int icon = 0; icon < 5; ++icon) {
        TaskDialogConfig c;
        c.mainIcon = static_cast<TaskIcon>(icon);
        corpus.Add(c);
        c.footerIcon = c.mainIcon;
        c.footer = {"Footer"};
        corpus.Add(c);
    }
    for (unsigned bit = 1; bit <= 0x40; bit <<= 1) {
        TaskDialogConfig c;
        c.commonButtons = bit == 0x40 ? 0x3F : bit;
        corpus.Add(c);
    }
    for (const std::string& owner : test::TaskOwners()) {
        TaskDialogConfig c;
        c.owner = owner;
        corpus.Add(c);
        c.width = 1;
        corpus.Add(c);
    }
    for (const std::string& variable : test::TaskVariables()) {
        TaskDialogConfig c;
        for (TaskText* text : {&c.title, &c.mainInstruction, &c.content}) *text = {variable, true};
        corpus.Add(c);
        for (TaskText* text :
             {&c.verification, &c.expandedInformation, &c.expandedControlText, &c.collapsedControlText, &c.footer})
            *text = {variable, true};
        corpus.Add(c);
    }

    // 100 custom and 100 radio buttons, texts of great length everywhere.
    std::string longText;
    while (longText.size() < 20000) longText += "Say \"hi\", it's 100% \xe9\x80;\r\n\t";
    TaskDialogConfig big = test::TypicalTaskDialog();
    big.buttons.clear();
    for (int k = 0; k < 100; ++k) {
        big.buttons.push_back(
            {"IDC_BASE+" + std::to_string(k), "Button " + std::to_string(k) + "\r\n" + longText.substr(0, 500)});
        big.radioButtons.push_back({std::to_string(5000 + k), std::string(300, 'r') + std::to_string(k)});
    }
    big.defaultButton = "IDC_BASE+99";
    for (TaskText* text : {&big.title, &big.mainInstruction, &big.content, &big.verification, &big.expandedInformation,
                           &big.expandedControlText, &big.collapsedControlText, &big.footer})
        *text = {longText};
    corpus.Add(big);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::cerr << "usage: task_dialog_corpus OUTPUT_FILE [SEED] [RANDOM_CONFIGS]\n";
        return 2;
    }
    const unsigned long seed = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1;
    const int randomConfigs = argc > 3 ? std::atoi(argv[3]) : 1000;

    Corpus corpus;
    Sweep(corpus);
    test::TaskDialogMaker maker(static_cast<unsigned>(seed));
    for (int i = 0; i < randomConfigs; ++i) corpus.Add(maker.Config());

    const std::string file = "/* Generated by task_dialog_corpus (seed " + std::to_string(seed) +
                             "): statements written by WriteTaskDialog, one function each. */\n"
                             "#include <windows.h>\n"
                             "#include <commctrl.h>\n"
                             "\n"
                             "#define IDC_BASE 3000\n"
                             "#define IDC_SAVE 1001\n"
                             "#define IDC_DONTSAVE 1002\n"
                             "extern LPCWSTR szMessage;\n"
                             "extern LPCWSTR names[4];\n"
                             "extern const WCHAR *pszBuffer;\n"
                             "LPCWSTR GetMessageText(int id);\n"
                             "\n" +
                             corpus.body;
    std::ofstream out(argv[1], std::ios::binary);
    const std::string expanded = ExpandLineFeeds(file);
    out.write(expanded.data(), static_cast<std::streamsize>(expanded.size()));
    out.close();
    if (!out) {
        std::cerr << "task_dialog_corpus: cannot write " << argv[1] << "\n";
        return 1;
    }
    std::cout << "task_dialog_corpus: " << corpus.count << " statements (TaskDialog " << corpus.count - corpus.indirect
              << ", TaskDialogIndirect " << corpus.indirect << "), seed " << seed << " -> " << argv[1] << "\n";
    return 0;
}
