// The one way the core reads and changes the message box being composed.
// Two implementations: PlainForm (a value, for tests and tools) and the
// dialog-backed form of the Win32 shell.
#pragma once

#include <string>
#include <string_view>

namespace pw {

// The two layouts of the main form; the advanced one has the code box and
// the options the simple one leaves at their defaults.
enum class Layout { Simple, Advanced };

class Form {
public:
    virtual ~Form() = default;

    // Texts are UTF-8. A control that the current layout lacks reads as
    // empty text, list position 0 and unchecked; setting it does nothing.
    virtual std::string Text(int id) const = 0;
    virtual void SetText(int id, std::string_view text) = 0;

    // Zero-based position; -1 when the list has no selection.
    virtual int ListPosition(int id) const = 0;
    // A position the list does not have leaves it without a selection.
    virtual void SetListPosition(int id, int position) = 0;

    virtual bool IsChecked(int id) const = 0;
    virtual void SetChecked(int id, bool checked) = 0;

    // Checks `id` and unchecks the other buttons of first..last. When `id` is
    // not in the layout, nothing changes.
    virtual void CheckRadio(int first, int last, int id) = 0;

    // Whether the current layout has the control.
    virtual bool HasControl(int id) const = 0;

    // Called after the icon list may have changed; the dialog shows the icon.
    virtual void UpdateIconPreview() {}
};

}  // namespace pw
