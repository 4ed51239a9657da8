#include "core/model/plain_form.h"

#include "core/model/clear_form.h"
#include "core/model/option_tables.h"
#include "res/resource.h"

namespace pw {
namespace {

constexpr int kBothLayouts[] = {
    IDC_TITLE,         IDC_TITLEVAR,       IDC_TEXT,        IDC_TEXTVAR,    IDC_PARENT,    IDC_BUTTONS,
    IDC_DEFBUTTON,     IDC_ICON,           IDC_ICONPREVIEW, IDC_HELPBUTTON, IDC_RIGHT,     IDC_RTLREADING,
    IDC_SETFOREGROUND, IDC_DEFAULTDESKTOP, IDC_TOPMOST,     IDC_TYPE_BOX,   IDC_SAVEWARN1, IDC_SAVEWARN2,
    IDC_INSERT,        IDC_COPY,           IDC_PREVIEW,     IDC_EXIT,
};
constexpr int kAdvancedOnly[] = {
    IDC_APPLMODAL,  IDC_SYSTEMMODAL,   IDC_TASKMODAL, IDC_SERVICE,  IDC_SERVICE_NT3X, IDC_LANGUAGE,
    IDC_TYPE_BOXEX, IDC_TYPE_INDIRECT, IDC_CODE,      IDC_GENERATE, IDC_LOADCODE, IDC_OTHERSTYLE,
};

}  // namespace

PlainForm::PlainForm(Layout layout, std::vector<std::string> parents) : layout_(layout), parents_(std::move(parents)) {
    controls_.insert(std::begin(kBothLayouts), std::end(kBothLayouts));
    if (layout == Layout::Advanced) controls_.insert(std::begin(kAdvancedOnly), std::end(kAdvancedOnly));
    ClearForm(*this);
}

std::string PlainForm::Text(int id) const {
    auto it = texts_.find(id);
    return it == texts_.end() ? std::string() : it->second;
}

void PlainForm::SetText(int id, std::string_view text) {
    if (Has(id)) texts_[id] = std::string(text);
}

int PlainForm::ListPosition(int id) const {
    if (!Has(id)) return 0;
    auto it = positions_.find(id);
    return it == positions_.end() ? -1 : it->second;
}

void PlainForm::SetListPosition(int id, int position) {
    if (!Has(id)) return;
    const int size = id == IDC_PARENT ? static_cast<int>(parents_.size()) : FixedListSize(id);
    if (position < 0 || position >= size) {
        positions_[id] = -1;
        return;
    }
    positions_[id] = position;
    // Like a drop-down combo box, selecting an entry puts its text in the edit field.
    if (id == IDC_PARENT) texts_[id] = parents_[static_cast<std::size_t>(position)];
}

bool PlainForm::IsChecked(int id) const { return checked_.count(id) != 0; }

void PlainForm::SetChecked(int id, bool checked) {
    if (!Has(id)) return;
    if (checked)
        checked_.insert(id);
    else
        checked_.erase(id);
}

void PlainForm::CheckRadio(int first, int last, int id) {
    if (!Has(id)) return;
    for (int other = first; other <= last; ++other) checked_.erase(other);
    checked_.insert(id);
}

}  // namespace pw
