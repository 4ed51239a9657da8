#include "core/codeparse/style_reader.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "core/model/header_names.h"
#include "core/model/option_tables.h"
#include "res/resource.h"

namespace pw {
namespace {

using Range = std::span<const Token>;

bool IsOpen(const Token& t) { return t.IsPunct("(") || t.IsPunct("[") || t.IsPunct("{"); }
bool IsClose(const Token& t) { return t.IsPunct(")") || t.IsPunct("]") || t.IsPunct("}"); }

bool Balanced(Range r) {
    std::string stack;
    for (const Token& t : r) {
        if (IsOpen(t)) {
            stack.push_back(t.text[0]);
        } else if (IsClose(t)) {
            const char open = t.text[0] == ')' ? '(' : t.text[0] == ']' ? '[' : '{';
            if (stack.empty() || stack.back() != open) return false;
            stack.pop_back();
        }
    }
    return stack.empty();
}

// The index of the bracket that closes the one at `open` (the range is balanced).
std::size_t Closing(Range r, std::size_t open) {
    int depth = 0;
    for (std::size_t i = open; i < r.size(); ++i) {
        if (IsOpen(r[i])) ++depth;
        if (IsClose(r[i]) && --depth == 0) return i;
    }
    return r.size();
}

// Types at least 32 bits wide: a cast to one of them keeps every MB_ bit.
bool IsWideType(const Token& t, bool language = false) {
    static constexpr std::string_view kTypes[] = {
        "UINT",     "DWORD",    "LONG",     "ULONG",     "INT",       "int",       "unsigned", "signed",
        "long",     "UINT32",   "DWORD32",  "ULONG32",   "LONG32",    "INT32",     "uint32_t", "int32_t",
        "UINT_PTR", "DWORD_PTR", "ULONG_PTR", "LONG_PTR", "INT_PTR",   "size_t",    "uint64_t", "int64_t",
        "DWORD64",  "UINT64",   "ULONGLONG", "LONGLONG", "std::uint32_t"};
    if (t.kind != TokenKind::Identifier) return false;
    // A language identifier is 16 bits: its own types keep it.
    if (language && (t.text == "WORD" || t.text == "LANGID" || t.text == "USHORT")) return true;
    for (std::string_view type : kTypes)
        if (t.text == type) return true;
    return false;
}

bool AllWideTypes(Range r, bool language) {
    if (r.empty()) return false;
    for (const Token& t : r)
        if (!IsWideType(t, language)) return false;
    return true;
}

// The range with casts to wide types ((UINT) x, static_cast<DWORD>(x),
// UINT(x)) and parentheses around it taken off, outermost first.
Range LookThrough(Range r, bool language = false) {
    for (;;) {
        if (r.size() >= 2 && r.front().IsPunct("(") && Closing(r, 0) == r.size() - 1) {
            r = r.subspan(1, r.size() - 2);
        } else if (r.size() >= 4 && r.front().IsPunct("(") && Closing(r, 0) + 1 < r.size() &&
                   AllWideTypes(r.subspan(1, Closing(r, 0) - 1), language)) {
            r = r.subspan(Closing(r, 0) + 1);
        } else if (r.size() >= 6 && r[0].Is("static_cast") && r[1].IsPunct("<")) {
            std::size_t close = 2;
            while (close < r.size() && !r[close].IsPunct(">")) ++close;
            if (close + 1 >= r.size() || !AllWideTypes(r.subspan(2, close - 2), language) || !r[close + 1].IsPunct("(") ||
                Closing(r, close + 1) != r.size() - 1)
                return r;
            r = r.subspan(close + 2, r.size() - close - 3);
        } else if (r.size() >= 3 && IsWideType(r[0], language) && r[1].IsPunct("(") && Closing(r, 1) == r.size() - 1) {
            r = r.subspan(2, r.size() - 3);
        } else {
            return r;
        }
    }
}

// Calls `visit(index)` for each token of `r` outside brackets, stepping over
// the type of a static_cast, whose < and > are no operators.
template <typename Visit>
void ForTopLevel(Range r, Visit visit) {
    for (std::size_t i = 0; i < r.size(); ++i) {
        if (IsOpen(r[i])) {
            i = Closing(r, i);
            continue;
        }
        if (r[i].Is("static_cast") && i + 1 < r.size() && r[i + 1].IsPunct("<")) {
            // Only over a type of names: static_cast<A(>)... keeps its brackets.
            std::size_t close = i + 2;
            while (close < r.size() && r[close].kind == TokenKind::Identifier) ++close;
            if (close < r.size() && r[close].IsPunct(">")) {
                i = close;
                continue;
            }
        }
        visit(i);
    }
}

bool IsOneOf(const Token& t, std::span<const std::string_view> texts) {
    if (t.kind != TokenKind::Punctuator) return false;
    for (std::string_view text : texts)
        if (t.text == text) return true;
    return false;
}

// Operators that bind more loosely than |: a term holding one at its top
// level cannot be written after "MB_OK | " and mean the same.
constexpr std::string_view kLooser[] = {"?", ":", "||", "&&", "=", "+=", "-=", "*=", "/=", "%=",
                                        "<<=", ">>=", "&=", "|=", "^=", ",", ";"};
// Operators between + and | in binding: a term holding one is no sum of terms.
constexpr std::string_view kBetween[] = {"<<", ">>", "<", ">", "<=", ">=", "<=>", "==", "!=", "&", "^"};

// A binary + follows an operand; a + after an operator or at the start is unary.
bool EndsOperand(const Token& t) {
    return t.kind == TokenKind::Identifier || t.kind == TokenKind::Number || t.kind == TokenKind::String ||
           t.kind == TokenKind::Character || IsClose(t) || t.IsPunct("++") || t.IsPunct("--");
}

// The parts of `r` between its top-level binary `op` operators.
std::vector<Range> Split(Range r, std::string_view op) {
    std::vector<Range> parts;
    std::size_t start = 0;
    ForTopLevel(r, [&](std::size_t i) {
        if (!r[i].IsPunct(op) || (op == "+" && (i == 0 || !EndsOperand(r[i - 1])))) return;
        parts.push_back(r.subspan(start, i - start));
        start = i + 1;
    });
    parts.push_back(r.subspan(start));
    return parts;
}

// One term of the style: a value the form may hold, or text kept as written.
struct Term {
    Range source;
    bool known = false;
    std::uint32_t value = 0;
    bool number = false;        // a number's bits the form has no control for are split off
    bool nt3x = false;          // MB_SERVICE_NOTIFICATION_NT3X by name
    std::uint32_t otherBits = 0;  // of a number, kept in Other style
};

class StyleParser {
public:
    // The terms of an | expression, appended to `out`; a problem when it is no
    // such expression (an empty term, an operator looser than |).
    std::string ReadOr(Range r, std::vector<Term>& out) {
        std::string problem;
        ForTopLevel(r, [&](std::size_t i) {
            if (problem.empty() && IsOneOf(r[i], kLooser))
                problem = "the style uses " + std::string(r[i].text == ":" ? "?:" : r[i].text) +
                          ", which binds more loosely than |";
        });
        if (!problem.empty()) return problem;
        for (Range term : Split(r, "|")) {
            if (term.empty()) return "the style has an empty term";
            if (std::string sumProblem = ReadSum(term, out); !sumProblem.empty()) return sumProblem;
        }
        return {};
    }

private:
    std::string ReadSum(Range r, std::vector<Term>& out) {
        bool between = false;
        ForTopLevel(r, [&](std::size_t i) { between = between || IsOneOf(r[i], kBetween); });
        if (between) {
            out.push_back(Term{r});
            return {};
        }
        const std::vector<Range> parts = Split(r, "+");
        for (Range part : parts)
            if (part.empty()) return "the style has an empty term";
        if (parts.size() == 1) {
            ReadPrimary(r, out);
            return {};
        }
        // Known constants added up mean what they mean joined with | (the
        // writer joins with |) unless two share a bit; a sum holding other
        // text is kept whole, as + binds more tightly than | does.
        std::vector<Term> sum;
        std::uint32_t seen = 0;
        bool exact = true;
        for (Range part : parts) {
            const std::size_t before = sum.size();
            ReadPrimary(part, sum);
            std::uint32_t partValue = 0;
            for (std::size_t i = before; i < sum.size(); ++i) {
                exact = exact && sum[i].known;
                partValue |= sum[i].value;
            }
            exact = exact && (partValue & seen) == 0;
            seen |= partValue;
        }
        if (exact)
            out.insert(out.end(), sum.begin(), sum.end());
        else
            out.push_back(Term{r});
        return {};
    }

    void ReadPrimary(Range r, std::vector<Term>& out) {
        const Range inner = LookThrough(r);
        if (inner.size() == 1 && inner[0].kind == TokenKind::Identifier) {
            if (auto value = MessageBoxConstant(inner[0].text)) {
                out.push_back(Term{r, true, *value, false, inner[0].Is("MB_SERVICE_NOTIFICATION_NT3X")});
                return;
            }
        } else if (inner.size() == 1 && inner[0].kind == TokenKind::Number) {
            if (auto value = IntegerLiteralValue(Spelling(inner[0])); value && *value <= 0xFFFFFFFFu) {
                out.push_back(Term{r, true, static_cast<std::uint32_t>(*value), true});
                return;
            }
        } else if (inner.size() != r.size() && !inner.empty()) {
            // Parentheses or a cast around an | expression: its terms are the style's.
            std::vector<Term> terms;
            if (ReadOr(inner, terms).empty()) {
                out.insert(out.end(), terms.begin(), terms.end());
                return;
            }
        }
        out.push_back(Term{r});
    }
};

// The form's fields of the style bits, each with the values it can show.
bool FieldHolds(std::uint32_t mask, std::uint32_t bits) {
    switch (mask) {
    case 0xF: return bits <= 5;
    case 0xF0: return bits <= 0x40 || bits == 0x80;
    case 0xF00: return bits <= 0x300;
    case 0x3000: return bits != 0x3000;
    default:
        for (const CheckEntry& flag : kFlags)
            if (flag.value == mask) return true;
        return bits == 0;
    }
}

std::vector<std::uint32_t> Fields() {
    std::vector<std::uint32_t> fields{0xF, 0xF0, 0xF00, 0x3000};
    for (std::uint32_t bit = 0x4000; bit != 0; bit <<= 1) fields.push_back(bit);
    return fields;
}

template <typename Table>
int PositionOfValue(const Table& table, std::uint32_t value) {
    for (std::size_t i = 0; i < table.size(); ++i)
        if (table[i].value == value) return static_cast<int>(i);
    return 0;
}

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

// The form's state for the terms; each part of a field the form cannot show
// moves to Other style.
void Decode(std::vector<Term>& terms, StyleReading& reading) {
    // The first field that holds no list value loses its terms, and the
    // fields are looked at again from the first: the same terms read again
    // (with what moved to Other style) move the same way.
    static const std::vector<std::uint32_t> fields = Fields();
    for (bool changed = true; changed;) {
        changed = false;
        std::uint32_t total = 0;
        for (const Term& term : terms)
            if (term.known) total |= term.value;
        for (std::uint32_t mask : fields) {
            if (FieldHolds(mask, total & mask)) continue;
            for (Term& term : terms) {
                if (!term.known || (term.value & mask) == 0) continue;
                if (term.number) {
                    term.otherBits |= term.value & mask;
                    term.value &= ~mask;
                } else {
                    term.known = false;
                }
            }
            changed = true;
            break;
        }
    }

    std::uint32_t total = 0;
    bool topmost = false, nt3x = false;
    for (Term& term : terms) {
        if (term.known && term.number && term.value == 0 && term.otherBits != 0) term.known = false;
        if (!term.known) {
            if (!reading.other.empty()) reading.other += " | ";
            reading.other += SourceOf(term.source.data(), &term.source.back());
            continue;
        }
        if (term.otherBits != 0) {
            if (!reading.other.empty()) reading.other += " | ";
            reading.other += Hex(term.otherBits);
        }
        total |= term.value;
        if (term.value & 0x40000) (term.nt3x ? nt3x : topmost) = true;
    }
    reading.buttons = PositionOfValue(kButtonSets, total & 0xF);
    reading.icon = PositionOfValue(kIcons, total & 0xF0);
    reading.defButton = PositionOfValue(kDefaultButtons, total & 0xF00);
    reading.modality = (total & 0x3000) == 0x1000 ? IDC_SYSTEMMODAL : (total & 0x3000) == 0x2000 ? IDC_TASKMODAL
                                                                                                  : IDC_APPLMODAL;
    // MB_SERVICE_NOTIFICATION_NT3X has MB_TOPMOST's value: the name tells the boxes apart.
    for (const CheckEntry& flag : kFlags) {
        const bool set = flag.control == IDC_TOPMOST      ? topmost
                         : flag.control == IDC_SERVICE_NT3X ? nt3x
                                                            : (total & flag.value) != 0;
        if (set) reading.checked.push_back(flag.control);
    }
}

}  // namespace

bool ReadStyle(std::span<const Token> tokens, StyleReading& reading, std::string& problem) {
    if (tokens.empty()) {
        problem = "the style is empty";
        return false;
    }
    for (const Token& t : tokens) {
        if (t.kind == TokenKind::Directive) {
            problem = "the style holds a preprocessor line";
            return false;
        }
        // Written on one line, it would swallow what follows it.
        if (t.unterminated) {
            problem = "the style has an unterminated literal";
            return false;
        }
    }
    if (!Balanced(tokens)) {
        problem = "the style has an unbalanced parenthesis";
        return false;
    }
    // A whole style that chooses (warning ? MB_ICONWARNING : MB_ICONINFORMATION,
    // a || b) is kept whole in Other style; the writer puts it in parentheses
    // where known terms stand before it. An assignment or a comma is refused.
    bool chooses = false, assigns = false;
    ForTopLevel(tokens, [&](std::size_t i) {
        const Token& t = tokens[i];
        if (t.IsPunct("?") || t.IsPunct("||") || t.IsPunct("&&"))
            chooses = true;
        else if (!t.IsPunct(":") && IsOneOf(t, kLooser))
            assigns = true;
    });
    if (chooses && !assigns) {
        reading = StyleReading{};
        reading.other = SourceOf(&tokens.front(), &tokens.back());
        return true;
    }
    std::vector<Term> terms;
    if (std::string failure = StyleParser().ReadOr(tokens, terms); !failure.empty()) {
        problem = std::move(failure);
        return false;
    }
    reading = StyleReading{};
    Decode(terms, reading);
    return true;
}

void ApplyStyle(const StyleReading& reading, Form& form) {
    form.SetListPosition(IDC_BUTTONS, reading.buttons);
    form.SetListPosition(IDC_DEFBUTTON, reading.defButton);
    form.SetListPosition(IDC_ICON, reading.icon);
    form.CheckRadio(IDC_APPLMODAL, IDC_TASKMODAL, reading.modality);
    for (const CheckEntry& flag : kFlags) {
        bool checked = false;
        for (int id : reading.checked) checked = checked || id == flag.control;
        form.SetChecked(flag.control, checked);
    }
    form.SetText(IDC_OTHERSTYLE, reading.other);
    form.UpdateIconPreview();
}

namespace {

// A language argument's value: a number, a LANG_ name or MAKELANGID of two;
// nothing for anything else, with `unknownName` set for a LANG_ or SUBLANG_
// name the headers lack.
std::optional<std::uint64_t> LanguageValue(Range r, bool& unknownName) {
    r = LookThrough(r, true);
    if (r.size() == 1 && r[0].kind == TokenKind::Number) return IntegerLiteralValue(Spelling(r[0]));
    if (r.size() == 1 && r[0].kind == TokenKind::Identifier) {
        if (auto value = LanguageConstant(r[0].text)) return *value;
        unknownName = unknownName || r[0].text.starts_with("LANG_") || r[0].text.starts_with("SUBLANG_");
        return std::nullopt;
    }
    if (r.size() >= 3 && r[0].Is("MAKELANGID") && r[1].IsPunct("(") && Closing(r, 1) == r.size() - 1) {
        const Range args = r.subspan(2, r.size() - 3);
        std::vector<Range> parts;
        std::size_t start = 0;
        ForTopLevel(args, [&](std::size_t i) {
            if (args[i].IsPunct(",")) parts.push_back(args.subspan(start, i - start)), start = i + 1;
        });
        parts.push_back(args.subspan(start));
        if (parts.size() != 2) return std::nullopt;
        const auto primary = LanguageValue(parts[0], unknownName);
        const auto sub = LanguageValue(parts[1], unknownName);
        if (!primary || !sub) return std::nullopt;
        // ((WORD)(s) << 10) | (WORD)(p), as <winnt.h> defines it.
        return ((*sub & 0xFFFF) << 10) | (*primary & 0xFFFF);
    }
    return std::nullopt;
}

}  // namespace

int ReadLanguage(std::span<const Token> tokens, std::string& problem) {
    if (tokens.empty()) {
        problem = "the language is empty";
        return -1;
    }
    if (!Balanced(tokens)) {
        problem = "the language has an unbalanced parenthesis";
        return -1;
    }
    const std::string written = SourceOf(tokens.data(), &tokens.back());
    bool unknownName = false;
    const std::optional<std::uint64_t> value = LanguageValue(tokens, unknownName);
    if (!value && !unknownName) {
        problem = "the language " + written + " is an expression; the form holds a language of its list";
        return -1;
    }
    if (value && *value <= 0xFFFF) {
        char id[8];
        std::snprintf(id, sizeof id, "0x%04x", static_cast<unsigned>(*value));
        for (int row = 0; row < kLanguageCount; ++row)
            if (kLanguages[static_cast<std::size_t>(row)].id == id) return row;
    }
    problem = "the language " + written + " is not in the language list";
    return -1;
}

bool ReadStyleExpression(std::string_view expression, Form& form) {
    const std::vector<Token> tokens = Tokenize(expression);
    StyleReading reading;
    std::string problem;
    if (!ReadStyle(tokens, reading, problem)) return false;
    ApplyStyle(reading, form);
    return true;
}

}  // namespace pw
