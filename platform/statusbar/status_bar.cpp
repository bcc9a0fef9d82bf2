#include "platform/statusbar/status_bar.h"

namespace corvella::platform {

using forms::Error;
using forms::Screen;

std::string Panel::Key() const { return owner_->panels[static_cast<size_t>(index_ - 1)].key; }

std::string Panel::Text() const {
    HWND bar = owner_->hWnd();
    if (bar == nullptr) return owner_->panels[static_cast<size_t>(index_ - 1)].text;
    const auto length = LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(index_ - 1), 0));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(index_ - 1), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(length);
    return text;
}

void Panel::SetText(const std::string& text) {
    owner_->panels[static_cast<size_t>(index_ - 1)].text = text;
    HWND bar = owner_->hWnd();
    if (bar == nullptr) return;
    SendMessageA(bar, SB_SETTEXTA, static_cast<WPARAM>(index_ - 1), reinterpret_cast<LPARAM>(text.c_str()));
    // Painted now: the loop that sets it may not let the paint message come.
    UpdateWindow(bar);
}

StatusBar::StatusBar() { height = 315; }

StatusBar::~StatusBar() { Destroy(); }

bool StatusBar::Create(forms::Container& parent) {
    if (Created()) return true;
    InitCommonControls();
    if (!CreateWindowIn(parent, STATUSCLASSNAMEA, SBARS_SIZEGRIP | CCS_BOTTOM, 0, "")) return false;
    for (size_t i = 0; i < panels.size(); ++i)
        SendMessageA(hWnd(), SB_SETTEXTA, i, reinterpret_cast<LPARAM>(panels[i].text.c_str()));
    follow_.Follow(parent.hWnd(), [this] { Dock(); });
    Dock();
    return true;
}

void StatusBar::OnDetach() { follow_.Stop(); }

void StatusBar::Dock() {
    HWND bar = hWnd();
    if (bar == nullptr) return;
    // Sized, the bar puts itself across the bottom of its parent.
    SendMessageA(bar, WM_SIZE, 0, 0);
    RECT rc{};
    GetClientRect(bar, &rc);
    int fixed = 0, springs = 0;
    for (const PanelDesign& p : panels) {
        fixed += Screen.ToPixelsX(p.width);
        if (p.spring) ++springs;
    }
    const int spare = rc.right > fixed ? rc.right - fixed : 0;
    std::vector<int> edges;
    int x = 0;
    for (const PanelDesign& p : panels) {
        x += Screen.ToPixelsX(p.width) + (p.spring ? spare / springs : 0);
        edges.push_back(x);
    }
    if (!edges.empty() && springs == 0) edges.back() = -1;  // the last reaches the edge
    if (edges.empty()) edges.push_back(-1);
    SendMessageA(bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

Panel& StatusBar::Panels(int index) {
    if (index < 1 || index > PanelCount()) throw Error("Index out of bounds", 35600);
    while (objects_.size() < panels.size())
        objects_.emplace_back(new Panel(*this, static_cast<int>(objects_.size()) + 1));
    return *objects_[static_cast<size_t>(index - 1)];
}

Panel& StatusBar::Panels(const std::string& key) {
    for (int i = 0; i < PanelCount(); ++i)
        if (!key.empty() && panels[static_cast<size_t>(i)].key == key) return Panels(i + 1);
    throw Error("Element not found", 35601);
}

}  // namespace corvella::platform
