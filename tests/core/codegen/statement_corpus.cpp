// Writes C files of statements from GenerateStatement, one function per
// statement, for scripts/compile-check.sh to compile against <windows.h>
// ("generated code must compile"): one file per string mode,
//
//   statement_corpus OUTPUT_PREFIX [SEED] [RANDOM_FORMS]
//
// writes OUTPUT_PREFIX_ansi.c, OUTPUT_PREFIX_text.c and OUTPUT_PREFIX_wide.c.
// The forms are a deterministic sweep (every call form, button set, default
// button, icon, modality and flag, in both layouts) plus RANDOM_FORMS forms
// drawn from a generator seeded with SEED; every form is written in each of
// the three answer modes, inside a function that returns int. Texts are
// UTF-8, as the form holds them, non-ASCII ones included but only characters
// Windows-1252 has (ANSI strings hold no others). The files go through the
// expansion pass, as statement text does on its way into a source file.
//
// It also writes OUTPUT_PREFIX_meaning.c, a native C program that checks what
// the TEXT() and wide literals mean: compiled with -fexec-charset=CP1252, each
// narrow literal must hold the form's text in Windows-1252 and each wide one
// the characters iconv makes of those bytes (Windows maps the five bytes
// CP1252 leaves undefined to the C1 controls of the same number), which are
// the form's characters.
//
// Inputs kept out on purpose, because the statement they give cannot compile
// (by design of the format, not by fault of the writer): an empty owner, an
// empty variable text or title, an empty structure name, an empty icon
// identifier with the user icon, empty callback or context help id with the
// help button, variable texts that are not C expressions; literal texts with a
// backslash that does not start a valid C escape (\q, \x without hex digits,
// \8, a backslash before one of the characters the writer escapes or before a
// character outside ASCII, a trailing backslash), and "??" followed by one of
// = / ' ( ) ! < > - (a trigraph, which gcc -Wall reports).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/codegen/expansion.h"
#include "core/codegen/statement_writer.h"
#include "core/model/code_options.h"
#include "core/model/code_page.h"
#include "core/model/option_tables.h"
#include "core/model/plain_form.h"
#include "core/model/utf8.h"
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
    // Characters Windows-1252 has (ANSI strings hold no others): letters, the
    // dash, the euro sign, the no-break space, and the C1 controls of its
    // undefined bytes before digits and hex letters.
    "caf\xc3\xa9 \xe2\x80\x94 Gr\xc3\xbc\xc3\x9f"
    "e",
    "Gr\xc3\xbc\xc3\x9f"
    "e \xc3\x80 \xc3\xbf",
    "\xe2\x82\xac 100",
    "\xc2\x81"
    "1\xc2\x8d"
    "a\xc2\x8f"
    "7\xc2\x90\xc2\x9d"
    "F",
    "\xc2\xa0\xe2\x84\xa2\xc5\xb8",
    "\xc3\xa9\"\t'\r\n\xe2\x82\xac",
    // Backslash sequences the user may type that are valid C escapes.
    "C:\\temp",
    "Tab\\there",
    "\\x41\\101\\r\\n\\\\",
    "Save changes to \"C:\\\\docs\\\\a.txt\"?\r\n\r\nYour changes will be lost if you don't save them.",
};

// Variable texts and titles: C expressions of the string mode's string type
// ("%s" stands for it: LPCSTR, LPCTSTR or LPCWSTR).
const std::vector<std::string> kVariables = {
    "szMessage",         "szTitle",      "szBuffer", "pszCaption",
    "GetMessageText(1)", "(%s)szBuffer", "names[2]", "GetMessageText(\r\n2)",  // an expression typed over two lines
};

// One string mode: its file and the types its variables are declared with.
struct StringMode {
    CharacterSet characterSet;
    const char* name;        // file suffix and comment
    const char* stringType;  // LPCSTR, LPCTSTR, LPCWSTR
    const char* charType;    // char, TCHAR, WCHAR
};
const StringMode kStringModes[] = {
    {CharacterSet::Ansi, "ansi", "LPCSTR", "char"},
    {CharacterSet::Text, "text", "LPCTSTR", "TCHAR"},
    {CharacterSet::Wide, "wide", "LPCWSTR", "WCHAR"},
};

std::string Typed(std::string text, const StringMode& mode) {
    if (const auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, mode.stringType);
    return text;
}

const std::vector<std::string> kOwners = {"NULL",     "hwnd", "GetActiveWindow()", "GetDesktopWindow()",
                                          "hwndMain", "0",    "GetParent(hwnd)"};
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

const int kFlagIds[] = {IDC_HELPBUTTON,     IDC_RIGHT,   IDC_RTLREADING, IDC_SETFOREGROUND,
                        IDC_DEFAULTDESKTOP, IDC_TOPMOST, IDC_SERVICE,    IDC_SERVICE_NT3X};
const int kTypes[] = {IDC_TYPE_BOX, IDC_TYPE_BOXEX, IDC_TYPE_INDIRECT};
const int kModalityIds[] = {IDC_APPLMODAL, IDC_SYSTEMMODAL, IDC_TASKMODAL};

struct Corpus {
    const StringMode& mode;
    std::string body = {};
    int count = 0;
    int perType[3] = {0, 0, 0};

    void Add(const FormCase& s) {
        for (AnswerHandling answer : {AnswerHandling::None, AnswerHandling::If, AnswerHandling::Switch}) Add(s, answer);
    }

    void Add(const FormCase& s, AnswerHandling answer) {
        PlainForm form(s.layout);
        form.SetListPosition(IDC_BUTTONS, s.buttons);
        form.SetListPosition(IDC_DEFBUTTON, s.defButton);
        form.SetListPosition(IDC_ICON, s.icon);
        form.SetListPosition(IDC_LANGUAGE, s.language);
        form.CheckRadio(IDC_APPLMODAL, IDC_TASKMODAL, s.modality);
        form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, s.type);
        for (int id : s.flags) form.SetChecked(id, true);
        form.SetText(IDC_PARENT, s.owner);
        form.SetText(IDC_TEXT, s.textVar ? Typed(s.text, mode) : s.text);
        form.SetText(IDC_TITLE, s.titleVar ? Typed(s.title, mode) : s.title);
        form.SetChecked(IDC_TEXTVAR, s.textVar);
        form.SetChecked(IDC_TITLEVAR, s.titleVar);

        CorpusPrompt prompt(form, s.options);
        const std::string statement = GenerateStatement(form, prompt, {mode.characterSet, answer});

        const int type = form.IsChecked(IDC_TYPE_INDIRECT) ? 2 : form.IsChecked(IDC_TYPE_BOXEX) ? 1 : 0;
        ++perType[type];
        char name[64];
        std::snprintf(name, sizeof name, "statement_%05d", ++count);
        body += "/* ";
        body += s.layout == Layout::Advanced ? "advanced" : "simple";
        body += ", ";
        body += type == 0 ? "MessageBox" : type == 1 ? "MessageBoxEx" : "MessageBoxIndirect";
        body += answer == AnswerHandling::None ? "" : answer == AnswerHandling::If ? ", if" : ", switch";
        body += " */\nint ";
        body += name;
        body += "(HWND hwnd)\n{\n";
        body += statement;
        body += "\nreturn 0;\n}\n\n";
    }
};

template <typename T>
const T& Pick(std::mt19937& rng, const std::vector<T>& pool) {
    return pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(rng)];
}

// A random literal from characters the writer escapes or passes safely: no
// backslash, and no '?' after '?' (no trigraph can form).
std::string RandomLiteral(std::mt19937& rng) {
    static const std::string ascii = "abcXYZ019 \"'\t\r\n,;%()[]{}<>!?#*/+-=&|^~:.@$_`";
    // UTF-8 of characters Windows-1252 has: letters, the euro sign, C1
    // controls, the no-break space.
    static const std::string_view others[] = {"\xc3\xa9", "\xc3\xbc", "\xc3\x9f", "\xe2\x82\xac",
                                              "\xc2\x81", "\xc2\x9d", "\xc2\xa0", "\xc3\xbf"};
    std::uniform_int_distribution<int> length(0, 60);
    std::uniform_int_distribution<std::size_t> pick(0, ascii.size() + std::size(others) - 1);
    std::string s;
    for (int n = length(rng); n > 0; --n) {
        const std::size_t k = pick(rng);
        if (k >= ascii.size()) {
            s += others[k - ascii.size()];
            continue;
        }
        char c = ascii[k];
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

// The native program of the meaning check (see the top of this file), over
// the literals without a typed backslash (those mean whatever escape the user
// typed) and random ones.
std::string MeaningCheck(unsigned long seed) {
    std::vector<std::string> texts;
    for (const std::string& text : kLiterals)
        if (text.find('\\') == std::string::npos) texts.push_back(text);
    std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));
    for (int i = 0; i < 300; ++i) texts.push_back(RandomLiteral(rng));

    std::string file =
        "/* Generated by statement_corpus: what the writer's TEXT() and wide literals mean. */\n"
        "#include <iconv.h>\n#include <stdio.h>\n#include <string.h>\n#include <wchar.h>\n\n"
        "struct Literal { const char *narrow; size_t narrowSize; const wchar_t *wide; size_t wideSize;\n"
        "                 const char *form; size_t formSize; };\n"
        "/* The narrow and the wide reading of one literal, as TEXT() gives them. */\n"
        "#define LITERAL(escaped, form) { escaped, sizeof(escaped) - 1, L##escaped, "
        "sizeof(L##escaped) / sizeof(wchar_t) - 1, form, sizeof(form) - 1 }\n"
        "static const struct Literal literals[] = {\n";
    char hex[8];
    for (const std::string& text : texts) {
        file += "    LITERAL(\"" + EscapeLiteral(text, CharacterSet::Text) + "\", \"";
        // The form's text in Windows-1252, line breaks as the one line feed the writer makes of them.
        std::string bytes;
        for (std::size_t i = 0; i < text.size();) {
            if (!Windows1252().Encode(NextCodePoint(text, i), bytes)) {
                std::cerr << "statement_corpus: a literal Windows-1252 lacks a character of\n";
                std::exit(1);
            }
        }
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            unsigned char byte = static_cast<unsigned char>(bytes[i]);
            if (byte == '\r') {
                if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
                byte = '\n';
            }
            std::snprintf(hex, sizeof hex, "\\x%02X\" \"", byte);
            file += hex;
        }
        file += "\"),\n";
    }
    file +=
        "};\n\n"
        "static wchar_t CodePoint(iconv_t cd, unsigned char byte) {\n"
        "    char in = (char)byte, *pin = &in;\n"
        "    wchar_t out = 0;\n"
        "    char *pout = (char *)&out;\n"
        "    size_t nin = 1, nout = sizeof out;\n"
        "    if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D) return byte;\n"
        "    if (iconv(cd, &pin, &nin, &pout, &nout) == (size_t)-1) return 0xFFFF;\n"
        "    return out;\n"
        "}\n\n"
        "int main(void) {\n"
        "    iconv_t cd = iconv_open(\"WCHAR_T\", \"CP1252\");\n"
        "    size_t i, k, count = sizeof literals / sizeof literals[0];\n"
        "    int failures = 0;\n"
        "    if (cd == (iconv_t)-1) { puts(\"no CP1252 in iconv\"); return 2; }\n"
        "    for (i = 0; i < count; ++i) {\n"
        "        const struct Literal *l = &literals[i];\n"
        "        int same = l->wideSize == l->formSize;\n"
        "        if (l->narrowSize != l->formSize || memcmp(l->narrow, l->form, l->formSize) != 0) {\n"
        "            printf(\"literal %zu: the narrow literal differs from the form's bytes\\n\", i);\n"
        "            ++failures;\n"
        "        }\n"
        "        for (k = 0; same && k < l->formSize; ++k) same = l->wide[k] == CodePoint(cd, (unsigned "
        "char)l->form[k]);\n"
        "        if (!same) {\n"
        "            printf(\"literal %zu: the wide literal differs from the form's characters\\n\", i);\n"
        "            ++failures;\n"
        "        }\n"
        "    }\n"
        "    iconv_close(cd);\n"
        "    printf(\"%zu literals, %d differ\\n\", count, failures);\n"
        "    return failures != 0;\n"
        "}\n";
    return file;
}

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::cerr << "usage: statement_corpus OUTPUT_PREFIX [SEED] [RANDOM_FORMS]\n";
        return 2;
    }
    const unsigned long seed = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1;
    const int randomForms = argc > 3 ? std::atoi(argv[3]) : 1000;

    for (const StringMode& mode : kStringModes) {
        Corpus corpus{.mode = mode};
        Sweep(corpus);
        std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));
        for (int i = 0; i < randomForms; ++i) corpus.Add(RandomFormCase(rng));

        const std::string s = mode.stringType;
        const std::string c = mode.charType;
        // clang-format off
        std::string file = "/* Generated by statement_corpus (seed " + std::to_string(seed) + "), " + mode.name +
                           " strings: statements written by GenerateStatement, one function each. */\n"
                           "#include <windows.h>\n"
                           "\n"
                           "#define IDI_MYICON 101\n"
                           "VOID CALLBACK MsgBoxCallback(LPHELPINFO lpHelpInfo);\n"
                           "extern " + s + " szMessage;\n"
                           "extern " + s + " szTitle;\n"
                           "extern " + c + " szBuffer[260];\n"
                           "extern const " + c + " *pszCaption;\n"
                           "extern " + s + " names[4];\n"
                           "extern HWND hwndMain;\n" +
                           s + " GetMessageText(int id);\n"
                           "\n";
        // clang-format on
        file += corpus.body;

        const std::string path = std::string(argv[1]) + "_" + mode.name + ".c";
        std::ofstream out(path, std::ios::binary);
        const std::string expanded = ExpandLineFeeds(file);
        out.write(expanded.data(), static_cast<std::streamsize>(expanded.size()));
        out.close();
        if (!out) {
            std::cerr << "statement_corpus: cannot write " << path << "\n";
            return 1;
        }
        std::cout << "statement_corpus: " << corpus.count << " statements (MessageBox " << corpus.perType[0]
                  << ", MessageBoxEx " << corpus.perType[1] << ", MessageBoxIndirect " << corpus.perType[2]
                  << "), seed " << seed << " -> " << path << "\n";
    }

    const std::string path = std::string(argv[1]) + "_meaning.c";
    std::ofstream out(path, std::ios::binary);
    out << MeaningCheck(seed);
    if (!out) {
        std::cerr << "statement_corpus: cannot write " << path << "\n";
        return 1;
    }
    return 0;
}
