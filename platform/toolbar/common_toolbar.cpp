#include "platform/toolbar/common_toolbar.h"

#include "platform/toolbar/button_styles.h"
#include "platform/toolbar/native_toolbar.h"

namespace corvella::platform {

using forms::Error;

namespace {
const char kCommonToolbarClass[] = "Corvella.CommonToolbar";
}

int ToolbarButton::Value() const {
    HWND bar = owner_->bar_;
    return bar != nullptr ? (detail::ButtonPressed(bar, index_ - 1) ? 1 : 0) : value_;
}

void ToolbarButton::SetValue(int value) {
    value_ = value != 0 ? 1 : 0;
    if (owner_->bar_ != nullptr) detail::SetButtonPressed(owner_->bar_, index_ - 1, value_ != 0);
}

bool ToolbarButton::Enabled() const {
    HWND bar = owner_->bar_;
    return bar != nullptr ? detail::ButtonEnabledAt(bar, index_ - 1) : enabled_;
}

void ToolbarButton::SetEnabled(bool on) {
    enabled_ = on;
    if (owner_->bar_ != nullptr) detail::SetButtonEnabledAt(owner_->bar_, index_ - 1, on);
}

CommonToolbar::~CommonToolbar() { Destroy(); }

void CommonToolbar::MakeButtonObjects() {
    while (objects_.size() < buttons.size()) {
        const size_t i = objects_.size();
        objects_.emplace_back(new ToolbarButton(*this, buttons[i].key, static_cast<int>(i) + 1));
        objects_.back()->value_ = buttons[i].value;
    }
}

bool CommonToolbar::Create(forms::Container& parent) {
    if (Created()) return true;
    if (!RegisterControlClass(kCommonToolbarClass)) return false;
    if (!CreateWindowIn(parent, kCommonToolbarClass, WS_CLIPCHILDREN, 0, "")) return false;
    MakeButtonObjects();
    bar_ = detail::CreateNativeToolbar(Control::hWnd(), 0);
    if (bar_ == nullptr) return true;
    if (imageList != nullptr && imageList->hImageList() != nullptr) {
        int cx = 16, cy = 16;
        ImageList_GetIconSize(imageList->hImageList(), &cx, &cy);
        SendMessageA(bar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(cx, cy));
        SendMessageA(bar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(imageList->hImageList()));
    }
    for (size_t i = 0; i < buttons.size(); ++i) {
        const ButtonDesign& b = buttons[i];
        detail::AddNativeButton(bar_, static_cast<int>(i), CommonToolbarButton(b.style), b.image - 1, b.caption,
                                objects_[i]->value_ != 0, objects_[i]->enabled_);
    }
    SendMessageA(bar_, TB_AUTOSIZE, 0, 0);
    return true;
}

void CommonToolbar::OnDetach() {
    for (size_t i = 0; bar_ != nullptr && i < objects_.size(); ++i) {
        objects_[i]->value_ = detail::ButtonPressed(bar_, static_cast<int>(i)) ? 1 : 0;
        objects_[i]->enabled_ = detail::ButtonEnabledAt(bar_, static_cast<int>(i));
    }
    bar_ = nullptr;
}

ToolbarButton& CommonToolbar::Buttons(int index) {
    MakeButtonObjects();
    if (index < 1 || index > static_cast<int>(objects_.size())) throw Error("Index out of bounds", 35600);
    return *objects_[static_cast<size_t>(index - 1)];
}

ToolbarButton& CommonToolbar::Buttons(const std::string& key) {
    MakeButtonObjects();
    for (auto& object : objects_)
        if (!key.empty() && object->key_ == key) return *object;
    throw Error("Element not found", 35601);
}

LRESULT CommonToolbar::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND: {
        const int position = detail::ClickedButton(bar_, wp, lp);
        if (position < 0) break;
        // The toolbar has toggled a check button already: the handler reads
        // the new value.
        ToolbarButton& button = *objects_[static_cast<size_t>(position)];
        if (ButtonClick) Fire("ButtonClick", [&] { ButtonClick(index, button); });
        return 0;
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        if (header != nullptr && header->code == TTN_NEEDTEXTA) {
            const int position = static_cast<int>(header->idFrom) - detail::kFirstButtonId;
            if (position < 0 || position >= ButtonCount()) break;
            reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText =
                const_cast<char*>(buttons[static_cast<size_t>(position)].toolTipText.c_str());
            return 0;
        }
        break;
    }
    case WM_SIZE:
        if (bar_ != nullptr) MoveWindow(bar_, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return 0;
    default:
        break;
    }
    return Control::OnMessage(msg, wp, lp);
}

}  // namespace corvella::platform
