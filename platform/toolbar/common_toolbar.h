// The common controls' toolbar as the forms place it (the field toggles
// `Toolbar4(0..11)`): buttons from 1 with a key, a caption, an image and a
// value, and a ButtonClick event. hWnd() is a window of its own whose first
// child is the ToolbarWindow32, so the flat-toolbar helper can restyle that
// child. A check button has toggled itself when ButtonClick fires.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/forms.h"

namespace corvella::platform {

class CommonToolbar;

class ToolbarButton {
public:
    std::string Key() const { return key_; }
    int Index() const { return index_; }
    // 1 pressed, 0 not.
    int Value() const;
    void SetValue(int value);
    bool Enabled() const;
    void SetEnabled(bool on);

private:
    friend class CommonToolbar;
    ToolbarButton(CommonToolbar& owner, std::string key, int index)
        : owner_(&owner), key_(std::move(key)), index_(index) {}
    CommonToolbar* owner_;
    std::string key_;
    int index_;
    int value_ = 0;  // before the window exists
    bool enabled_ = true;
};

class CommonToolbar : public forms::Control {
public:
    // ---- design ----
    struct ButtonDesign {
        std::string key;
        std::string caption;
        int style = 0;  // 0 default, 1 check, 2 button group, 3 separator, 4 placeholder, 5 drop-down
        int image = 0;  // 1-based image of the image list, 0 none
        int value = 0;
        std::string toolTipText;
    };
    std::vector<ButtonDesign> buttons;
    forms::ImageList* imageList = nullptr;  // stays its owner's

    std::function<void(int index, ToolbarButton& button)> ButtonClick;

    CommonToolbar() { height = 330; }
    ~CommonToolbar() override;

    bool Create(forms::Container& parent) override;
    // Error 35600 outside 1..count; Error 35601 for a missing key.
    ToolbarButton& Buttons(int index);
    ToolbarButton& Buttons(const std::string& key);
    int ButtonCount() const { return static_cast<int>(buttons.size()); }
    HWND ToolbarWindow() const { return bar_; }

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDetach() override;

private:
    friend class ToolbarButton;
    void MakeButtonObjects();
    std::vector<std::unique_ptr<ToolbarButton>> objects_;
    HWND bar_ = nullptr;
};

}  // namespace corvella::platform
