// The status bar of the forms over msctls_statusbar32: panels by 1-based
// index and by key, docked at the bottom of its form and following its size.
// A panel's text is painted as soon as it is set, so that texts set during a
// long loop that does not yield show at once.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/docking/size_hook.h"
#include "platform/forms/forms.h"

namespace corvella::platform {

class StatusBar;

class Panel {
public:
    std::string Key() const;
    int Index() const { return index_; }
    // Read from the window once it exists.
    std::string Text() const;
    void SetText(const std::string& text);

private:
    friend class StatusBar;
    Panel(StatusBar& owner, int index) : owner_(&owner), index_(index) {}
    StatusBar* owner_;
    int index_;
};

class StatusBar : public forms::Control {
public:
    // ---- design ----
    struct PanelDesign {
        std::string key;
        std::string text;
        int width = 1440;     // twips; the minimum of a spring panel
        bool spring = false;  // shares the width the others leave
    };
    std::vector<PanelDesign> panels;

    StatusBar();
    ~StatusBar() override;

    bool Create(forms::Container& parent) override;
    // Error 35600 outside 1..count; Error 35601 for a missing key.
    Panel& Panels(int index);
    Panel& Panels(const std::string& key);
    Panel& Panels(const char* key) { return Panels(std::string(key)); }
    int PanelCount() const { return static_cast<int>(panels.size()); }

protected:
    void OnDetach() override;

private:
    friend class Panel;
    void Dock();
    std::vector<std::unique_ptr<Panel>> objects_;
    SizeHook follow_;
};

}  // namespace corvella::platform
