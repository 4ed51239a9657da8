#include "dialogs/load_code_win32.h"

#include "win32/dialog_form_win32.h"
#include "core/codeparse/code_reader.h"

namespace pw {
namespace {

class MessageBoxReport : public CodeReaderReport {
public:
    void Unrecognised() override {
        MessageBoxA(GetActiveWindow(), "Unrecognised code", nullptr, MB_ICONWARNING);
    }
};

}  // namespace

bool LoadCodeIntoForm(HWND form, std::string text) {
    DialogForm dialog(form);
    MessageBoxReport report;
    return LoadCode(dialog, text, report);
}

}  // namespace pw
