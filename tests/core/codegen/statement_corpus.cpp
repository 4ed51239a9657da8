// Writes a C file of statements from GenerateStatement, one function per
// statement, for scripts/compile-check.sh to compile against <windows.h>
// ("generated code must compile").
//
//   statement_corpus OUTPUT.c [SEED] [RANDOM_FORMS]
//
// The forms are a deterministic sweep (every call form, button set, default
// button, icon, modality and flag, in both layouts) plus RANDOM_FORMS forms
// drawn from a generator seeded with SEED. The file goes through the expansion
// pass, as statement text does on its way into a source file.
//
// Inputs kept out on purpose, because the statement they give cannot compile
// (by design of the format, not by fault of the writer): an empty owner, an
// empty variable text or title, an empty structure name, an empty icon
// identifier with the user icon, empty callback or context help id with the
// help button, variable texts that are not C expressions; literal texts with a
// backslash that does not start a valid C escape (\q, \x without hex digits,
// \8, a backslash before one of the characters the writer escapes, a trailing
// backslash), and "??" followed by one of = / ' ( ) ! < > - (a trigraph, which
// gcc -Wall reports).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "core/codegen/expansion.h"
#include "core/codegen/statement_writer.h"
#include "core/model/option_tables.h"
#include "core/model/plain_form.h"
#include "res/resource.h"

namespace {

using namespace pw;

// Literal titles and texts: every character the writer escapes, and ones it
// passes that matter to C or to the old formatter.
const std::vector<std::string> kLiterals = {
    "Hello",
    "",
    "Say \"hi\"",
    "It's",
    "\"'\"'",
    "Column\tColumn",
    "\t",
    "Line one\r\nLine two",
    "lone\nline feed",
    "lone\rcarriage return",
    "\r\n\r\n",
    "a\n\rb",
    "trailing\r\n",
    "a, b; c",
    ",;,;",
    "\", \"",
    "\");",
    "50% done",
    "%d %s %1 %0 %n %% %",
    "100%",
    "Really? Yes! /* not a comment */ // nor this",
    "Price: $5 & <more> {braces} [brackets] (parens) #hash ~tilde ^caret |bar| `tick` @at",
    "caf\xc3\xa9 \xe2\x80\x94 Gr\xc3\xbc\xc3\x9f" "e",  // UTF-8
    // Backslash sequences the user may type that are valid C escapes.
    "C:\\temp",
    "Tab\\there",
    "\\x41\\101\\r\\n\\\\",
    "Save changes to \"C:\\\\docs\\\\a.txt\"?\r\n\r\nYour changes will be lost if you don't save them.",
};

// Variable texts and titles: C expressions of type LPCSTR.
const std::vector<std::string> kVariables = {
    "szMessage", "szTitle", "szBuffer", "pszCaption", "GetMessageText(1)", "(LPCSTR)szBuffer",
    "names[2]", "GetMessageText(\r\n2)",  // an expression typed over two lines
};

const std::vector<std::string> kOwners = {"NULL", "hwnd", "GetActiveWindow()", "GetDesktopWindow()", "hwndMain",
                                          "0", "GetParent(hwnd)"};
const std::vector<std::string> kStructNames = {"mbp", "params", "msgBoxParams_2", "p", "MBP"};
const std::vector<std::string> kIconIds = {"IDI_MYICON", "101", "0x7F00"};
const std::vector<std::string> kCallbacks = {"MsgBoxCallback", "NULL"};
const std::vector<std::string> kHelpIds = {"1", "0", "42", "(DWORD_PTR)7"};

// The options dialog as it behaves: after OK the disabled fields (icon
// identifier without the user icon, callback and context help id without the
// help button) are empty.
class CorpusPrompt : public ParamsPrompt {
public:
    CorpusPrompt(const Form& form, ParamsOptions typed) : form_(form), typed_(std::move(typed)) {}
    ParamsOptions Run() override {
        ParamsOptions o = typed_;
        if (form_.ListPosition(IDC_ICON) != kUserIconPosition) o.iconId.clear();
        if (!form_.IsChecked(IDC_HELPBUTTON)) o.callbackName.clear(), o.contextHelpId.clear();
        return o;
    }

private:
    const Form& form_;
    ParamsOptions typed_;
};

struct FormCase {
    Layout layout = Layout::Advanced;
    int type = IDC_TYPE_BOX;
    int buttons = 1, defButton = 0, icon = 0, language = 1;
    int modality = IDC_APPLMODAL;
    std::vector<int> flags;
    std::string owner = "NULL";
    std::string text = "Hello", title = "Greeting";
    bool textVar = false, titleVar = false;
    ParamsOptions options{"mbp", "IDI_MYICON", "MsgBoxCallback", "1"};
};

const int kFlagIds[] = {IDC_HELPBUTTON, IDC_RIGHT,   IDC_RTLREADING, IDC_SETFOREGROUND,
                        IDC_DEFAULTDESKTOP, IDC_TOPMOST, IDC_SERVICE, IDC_SERVICE_NT3X};
const int kTypes[] = {IDC_TYPE_BOX, IDC_TYPE_BOXEX, IDC_TYPE_INDIRECT};
const int kModalityIds[] = {IDC_APPLMODAL, IDC_SYSTEMMODAL, IDC_TASKMODAL};

struct Corpus {
    std::string body;
    int count = 0;
    int perType[3] = {0, 0, 0};

    void Add(const FormCase& s) {
        PlainForm form(s.layout);
        form.SetListPosition(IDC_BUTTONS, s.buttons);
        form.SetListPosition(IDC_DEFBUTTON, s.defButton);
        form.SetListPosition(IDC_ICON, s.icon);
        form.SetListPosition(IDC_LANGUAGE, s.language);
        form.CheckRadio(IDC_APPLMODAL, IDC_TASKMODAL, s.modality);
        form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, s.type);
        for (int id : s.flags) form.SetChecked(id, true);
        form.SetText(IDC_PARENT, s.owner);
        form.SetText(IDC_TEXT, s.text);
        form.SetText(IDC_TITLE, s.title);
        form.SetChecked(IDC_TEXTVAR, s.textVar);
        form.SetChecked(IDC_TITLEVAR, s.titleVar);

        CorpusPrompt prompt(form, s.options);
        const std::string statement = GenerateStatement(form, prompt);

        const int type = form.IsChecked(IDC_TYPE_INDIRECT) ? 2 : form.IsChecked(IDC_TYPE_BOXEX) ? 1 : 0;
        ++perType[type];
        char name[64];
        std::snprintf(name, sizeof name, "statement_%05d", ++count);
        body += "/* ";
        body += s.layout == Layout::Advanced ? "advanced" : "simple";
        body += ", ";
        body += type == 0 ? "MessageBox" : type == 1 ? "MessageBoxEx" : "MessageBoxIndirect";
        body += " */\nvoid ";
        body += name;
        body += "(HWND hwnd)\n{\n";
        body += statement;
        body += "\n}\n\n";
    }
};

template <typename T>
const T& Pick(std::mt19937& rng, const std::vector<T>& pool) {
    return pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(rng)];
}

// A random literal from characters the writer escapes or passes safely: no
// backslash, and no '?' after '?' (no trigraph can form).
std::string RandomLiteral(std::mt19937& rng) {
    static const std::string alphabet =
        "abcXYZ019 \"'\t\r\n,;%()[]{}<>!?#*/+-=&|^~:.@$_`";
    std::uniform_int_distribution<int> length(0, 60);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string s;
    for (int n = length(rng); n > 0; --n) {
        char c = alphabet[pick(rng)];
        if (c == '?' && !s.empty() && s.back() == '?') c = '.';
        s += c;
    }
    return s;
}

FormCase RandomFormCase(std::mt19937& rng) {
    auto coin = [&](int percent) { return std::uniform_int_distribution<int>(0, 99)(rng) < percent; };
    auto upTo = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    FormCase s;
    s.layout = coin(80) ? Layout::Advanced : Layout::Simple;
    s.type = kTypes[upTo(3)];
    s.buttons = upTo(6);
    s.defButton = upTo(4);
    s.icon = upTo(6);
    s.language = upTo(kLanguageCount);
    s.modality = kModalityIds[upTo(3)];
    for (int id : kFlagIds)
        if (coin(30)) s.flags.push_back(id);
    s.owner = Pick(rng, kOwners);
    s.textVar = coin(25);
    s.titleVar = coin(25);
    s.text = s.textVar ? Pick(rng, kVariables) : coin(50) ? RandomLiteral(rng) : Pick(rng, kLiterals);
    s.title = s.titleVar ? Pick(rng, kVariables) : coin(50) ? RandomLiteral(rng) : Pick(rng, kLiterals);
    s.options = {Pick(rng, kStructNames), Pick(rng, kIconIds), Pick(rng, kCallbacks), Pick(rng, kHelpIds)};
    return s;
}

void Sweep(Corpus& corpus) {
    int n = 0;  // rotates the texts through the sweep
    auto literal = [&] { return kLiterals[static_cast<std::size_t>(n++) % kLiterals.size()]; };
    for (Layout layout : {Layout::Advanced, Layout::Simple})
        for (int type : kTypes) {
            // Every button set, default button and icon.
            for (int b = 0; b < 6; ++b)
                for (int d = 0; d < 4; ++d)
                    for (int i = 0; i < 6; ++i) {
                        FormCase s;
                        s.layout = layout;
                        s.type = type;
                        s.buttons = b, s.defButton = d, s.icon = i;
                        s.language = (b * 24 + d * 6 + i) % kLanguageCount;
                        s.text = literal();
                        s.title = literal();
                        s.owner = kOwners[static_cast<std::size_t>(n) % kOwners.size()];
                        s.options.structName = kStructNames[static_cast<std::size_t>(n) % kStructNames.size()];
                        corpus.Add(s);
                    }
            // Every modality with every flag alone, and with all flags.
            for (int modality : kModalityIds) {
                for (int flag : kFlagIds) {
                    FormCase s;
                    s.layout = layout, s.type = type, s.modality = modality, s.flags = {flag};
                    s.icon = 5;
                    corpus.Add(s);
                }
                FormCase s;
                s.layout = layout, s.type = type, s.modality = modality;
                s.flags.assign(std::begin(kFlagIds), std::end(kFlagIds));
                s.icon = 5, s.buttons = 0, s.defButton = 3;
                corpus.Add(s);
            }
            // Every literal and every variable as text and as title, every owner,
            // every option value.
            for (const std::string& text : kLiterals) {
                FormCase s;
                s.layout = layout, s.type = type, s.text = text, s.title = text;
                s.flags = {IDC_HELPBUTTON};
                corpus.Add(s);
            }
            for (const std::string& variable : kVariables) {
                FormCase s;
                s.layout = layout, s.type = type;
                s.text = variable, s.textVar = true;
                s.title = variable, s.titleVar = true;
                corpus.Add(s);
                s.title = "Literal", s.titleVar = false;
                corpus.Add(s);
                s.text = "Literal", s.textVar = false;
                s.title = variable, s.titleVar = true;
                corpus.Add(s);
            }
            for (const std::string& owner : kOwners) {
                FormCase s;
                s.layout = layout, s.type = type, s.owner = owner;
                corpus.Add(s);
            }
            for (std::size_t k = 0; k < 6; ++k) {
                FormCase s;
                s.layout = layout, s.type = type, s.icon = 5, s.flags = {IDC_HELPBUTTON};
                s.options = {kStructNames[k % kStructNames.size()], kIconIds[k % kIconIds.size()],
                             kCallbacks[k % kCallbacks.size()], kHelpIds[k % kHelpIds.size()]};
                corpus.Add(s);
            }
            // A long literal (longer than the old 259-character escape area).
            FormCase s;
            s.layout = layout, s.type = type;
            s.text.clear();
            while (s.text.size() < 5000) s.text += "Say \"hi\", it's 100%;\r\n\t";
            s.title = std::string(300, 'T');
            corpus.Add(s);
        }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::cerr << "usage: statement_corpus OUTPUT.c [SEED] [RANDOM_FORMS]\n";
        return 2;
    }
    const unsigned long seed = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1;
    const int randomForms = argc > 3 ? std::atoi(argv[3]) : 1000;

    Corpus corpus;
    Sweep(corpus);
    std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));
    for (int i = 0; i < randomForms; ++i) corpus.Add(RandomFormCase(rng));

    std::string file =
        "/* Generated by statement_corpus (seed " + std::to_string(seed) +
        "): statements written by GenerateStatement, one function each. */\n"
        "#include <windows.h>\n"
        "\n"
        "#define IDI_MYICON 101\n"
        "VOID CALLBACK MsgBoxCallback(LPHELPINFO lpHelpInfo);\n"
        "extern LPCSTR szMessage;\n"
        "extern LPCSTR szTitle;\n"
        "extern char szBuffer[260];\n"
        "extern const char *pszCaption;\n"
        "extern LPCSTR names[4];\n"
        "extern HWND hwndMain;\n"
        "LPCSTR GetMessageText(int id);\n"
        "\n";
    file += corpus.body;

    std::ofstream out(argv[1], std::ios::binary);
    const std::string expanded = ExpandLineFeeds(file);
    out.write(expanded.data(), static_cast<std::streamsize>(expanded.size()));
    out.close();
    if (!out) {
        std::cerr << "statement_corpus: cannot write " << argv[1] << "\n";
        return 1;
    }
    std::cout << "statement_corpus: " << corpus.count << " statements (MessageBox " << corpus.perType[0]
              << ", MessageBoxEx " << corpus.perType[1] << ", MessageBoxIndirect " << corpus.perType[2]
              << "), seed " << seed << " -> " << argv[1] << "\n";
    return 0;
}
