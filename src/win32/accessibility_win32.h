// Names and roles for screen readers where a control's visible text cannot
// say it (Dynamic Annotation, IAccPropServices), while a screen reader runs.
// Soft: where the system lacks the service, nothing is named and nothing
// fails.
#pragma once

#include <windows.h>

#include <string_view>

namespace pw {

class Annotator {
public:
    // Reaches the service in the calling thread's COM apartment; Available()
    // says whether it did.
    Annotator();
    ~Annotator();
    Annotator(const Annotator&) = delete;
    Annotator& operator=(const Annotator&) = delete;

    bool Available() const { return services_ != nullptr; }

    // The name a screen reader gives `control` (UTF-8), in place of its text.
    void Name(HWND control, std::string_view name);
    // `control` reports the role "link", named `name`.
    void Link(HWND control, std::string_view name);

private:
    void* services_ = nullptr;  // IAccPropServices*, released by the destructor
};

// Names control `id` of `dialog`, when there is one.
void NameControl(Annotator& annotator, HWND dialog, int id, std::string_view name);

}  // namespace pw
