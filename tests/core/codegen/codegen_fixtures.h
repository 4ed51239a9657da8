// Test doubles for the code writer: a ParamsPrompt that returns fixed options,
// and a Form whose lists report any position at all (including ones no list
// has).
#pragma once

#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/codegen/statement_writer.h"
#include "core/model/form.h"
#include "core/model/plain_form.h"
#include "res/resource.h"

namespace pw::test {

class FakeParamsPrompt : public ParamsPrompt {
public:
    FakeParamsPrompt() = default;
    explicit FakeParamsPrompt(ParamsOptions options) : options(std::move(options)) {}
    ParamsOptions Run() override {
        ++runs;
        return options;
    }
    ParamsOptions options;
    int runs = 0;
};

// Reports exactly what it is given: list positions are not checked against
// any list, so a writer that indexes by them unchecked reads out of range.
class RawForm : public Form {
public:
    std::string Text(int id) const override {
        auto it = texts.find(id);
        return it == texts.end() ? std::string() : it->second;
    }
    void SetText(int id, std::string_view text) override { texts[id] = std::string(text); }
    int ListPosition(int id) const override {
        auto it = positions.find(id);
        return it == positions.end() ? -1 : it->second;
    }
    void SetListPosition(int id, int position) override { positions[id] = position; }
    bool IsChecked(int id) const override { return checked.count(id) != 0; }
    void SetChecked(int id, bool on) override {
        if (on)
            checked.insert(id);
        else
            checked.erase(id);
    }
    void CheckRadio(int first, int last, int id) override {
        for (int other = first; other <= last; ++other) checked.erase(other);
        checked.insert(id);
    }
    bool HasControl(int) const override { return true; }

    std::map<int, std::string> texts;
    std::map<int, int> positions;
    std::set<int> checked;
};

// The style-relevant settings of a form, applied through the Form interface
// (so a layout that lacks a control ignores it, as the dialog would).
struct StyleSettings {
    int buttons = 1;
    int defButton = 0;
    int icon = 0;
    int modality = IDC_APPLMODAL;
    std::vector<int> checked;  // flag check boxes, in any order
};

inline void Apply(const StyleSettings& s, Form& form) {
    form.SetListPosition(IDC_BUTTONS, s.buttons);
    form.SetListPosition(IDC_DEFBUTTON, s.defButton);
    form.SetListPosition(IDC_ICON, s.icon);
    form.CheckRadio(IDC_APPLMODAL, IDC_TASKMODAL, s.modality);
    for (int id : s.checked) form.SetChecked(id, true);
}

inline const char* LayoutName(Layout layout) { return layout == Layout::Simple ? "Simple" : "Advanced"; }

}  // namespace pw::test
