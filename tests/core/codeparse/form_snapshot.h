// Everything the readers can set on a form, as one comparable value.
#pragma once

#include <ostream>
#include <set>
#include <string>

#include "core/codeparse/code_reader.h"
#include "core/model/form.h"
#include "core/model/option_tables.h"
#include "res/resource.h"

namespace pw::test {

struct FormSnapshot {
    std::string parent, text, title;
    bool textVar = false, titleVar = false;
    int type = 0;  // the checked IDC_TYPE_* button, 0 when none
    int buttons = 0, defButton = 0, icon = 0, language = 0;
    int modality = 0;     // the checked modality button, 0 when none
    std::set<int> flags;  // checked flag boxes
    bool operator==(const FormSnapshot&) const = default;
};

inline int CheckedOf(const Form& form, int first, int last) {
    for (int id = first; id <= last; ++id)
        if (form.IsChecked(id)) return id;
    return 0;
}

inline FormSnapshot Snapshot(const Form& form) {
    FormSnapshot s;
    s.parent = form.Text(IDC_PARENT);
    s.text = form.Text(IDC_TEXT);
    s.title = form.Text(IDC_TITLE);
    s.textVar = form.IsChecked(IDC_TEXTVAR);
    s.titleVar = form.IsChecked(IDC_TITLEVAR);
    s.type = CheckedOf(form, IDC_TYPE_BOX, IDC_TYPE_INDIRECT);
    s.buttons = form.ListPosition(IDC_BUTTONS);
    s.defButton = form.ListPosition(IDC_DEFBUTTON);
    s.icon = form.ListPosition(IDC_ICON);
    s.language = form.ListPosition(IDC_LANGUAGE);
    s.modality = CheckedOf(form, IDC_APPLMODAL, IDC_TASKMODAL);
    for (const CheckEntry& flag : kFlags)
        if (form.IsChecked(flag.control)) s.flags.insert(flag.control);
    return s;
}

inline void PrintTo(const FormSnapshot& s, std::ostream* os) {
    *os << "{parent=\"" << s.parent << "\" text=\"" << s.text << "\"" << (s.textVar ? "(var)" : "") << " title=\""
        << s.title << "\"" << (s.titleVar ? "(var)" : "") << " type=" << s.type << " buttons=" << s.buttons
        << " def=" << s.defButton << " icon=" << s.icon << " language=" << s.language << " modality=" << s.modality
        << " flags=";
    for (int id : s.flags) *os << id << ',';
    *os << '}';
}

class CountingReport : public CodeReaderReport {
public:
    void Unrecognised(std::string_view why) override {
        ++unrecognised;
        reason = why;
    }
    int unrecognised = 0;
    std::string reason;
};

}  // namespace pw::test
