// A form held as plain values, laid out like one of the two main form layouts.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/model/form.h"

namespace pw {

class PlainForm : public Form {
public:
    // The Clear state of the given layout (the values ClearForm gives), with
    // the Parent list holding `parents` as the settings file would give them.
    explicit PlainForm(Layout layout = Layout::Advanced,
                       std::vector<std::string> parents = {"GetActiveWindow()", "NULL"});

    Layout layout() const { return layout_; }
    bool Has(int id) const { return controls_.count(id) != 0; }
    bool HasControl(int id) const override { return Has(id); }

    std::string Text(int id) const override;
    void SetText(int id, std::string_view text) override;
    int ListPosition(int id) const override;
    void SetListPosition(int id, int position) override;
    bool IsChecked(int id) const override;
    void SetChecked(int id, bool checked) override;
    void CheckRadio(int first, int last, int id) override;
    void UpdateIconPreview() override { ++iconPreviewUpdates; }

    int iconPreviewUpdates = 0;

private:
    Layout layout_;
    std::set<int> controls_;
    std::map<int, std::string> texts_;
    std::map<int, int> positions_;
    std::set<int> checked_;
    std::vector<std::string> parents_;
};

}  // namespace pw
