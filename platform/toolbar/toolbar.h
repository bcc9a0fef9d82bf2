// The toolbar library of the main window: `Toolbar` (buttons by key and by
// 0-based position, image lists by the toolbar's own message numbers, split
// buttons, pressed and enabled states, a menu bar mode), `ToolbarHost` (a
// strip on a form that holds one toolbar) and `ReBar` (bands of child
// windows across the top of a form, with a height event). Each stands on the
// common control of its kind: a window of its own whose first child is a
// ToolbarWindow32, and a ReBarWindow32. Every event runs inside the forms'
// error boundary.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "platform/popupmenu/popup_menu.h"
#include "platform/docking/size_hook.h"
#include "platform/toolbar/button_styles.h"
#include "platform/toolbar/native_toolbar.h"

namespace corvella::platform {

// The image-list type codes SetImageList takes: the toolbar's messages for
// its normal (TB_SETIMAGELIST) and hot (TB_SETHOTIMAGELIST) images.
constexpr int kNormalImages = 1072;
constexpr int kHotImages = 1076;

class Toolbar : public detail::ToolbarWindow {
public:
    // Events. `button` is the button's 0-based position, passed by
    // reference as the program's handlers take it. The drop-down point is
    // the button's lower left corner in twips of the form's client area,
    // where a popup menu owned by the form shows directly.
    std::function<void(int& button)> ButtonClick;
    std::function<void(int& button, int x, int y)> ButtonDropDown;

    Toolbar() { width = height = 0; }
    ~Toolbar() override;

    // Images of `size` pixels square; `textRight` puts captions beside the
    // images instead of below.
    void SetButtonSize(int size, bool textRight = false);
    // typeCode kNormalImages or kHotImages; the list stays its owner's.
    // Another code is ignored.
    void SetImageList(forms::ImageList& images, int typeCode);
    // Appends a button and returns its position. `style` as in
    // button_styles.h (0, 1, 2, 16, 18, 144); `image` 0-based, -1 none;
    // `state` 0 normal, 1 pressed, 2 disabled.
    int AddButton(const std::string& key, int style, const std::string& caption = std::string(),
                  int image = -1, const std::string& tooltip = std::string(), int state = 0);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    // "" outside the buttons.
    std::string ButtonKey(int button) const;
    // -1 when no button has the key.
    int ButtonIndex(const std::string& key) const;
    // By position or key; an unknown button reads false and is not set.
    bool Pressed(int button) const;
    bool Pressed(const std::string& key) const { return Pressed(ButtonIndex(key)); }
    void SetPressed(int button, bool pressed);
    void SetPressed(const std::string& key, bool pressed) { SetPressed(ButtonIndex(key), pressed); }
    bool ButtonEnabled(const std::string& key) const;
    void SetButtonEnabled(const std::string& key, bool enabled);
    // The height the buttons need, in pixels.
    int ToolbarHeight() const;
    // Fits the window to its buttons (after the buttons are added).
    void AutoSize();
    // False drops the hot (hover) mark, so that a button does not stay lit
    // while the window it opened is up.
    void SetHot(bool on);
    // The ToolbarWindow32 inside the toolbar's window.
    HWND ToolbarWindow() const { return bar_; }

    // Menu bar mode: one flat button per top-level item of `menu`, each
    // dropping its sub-menu (or choosing the item, when it has none); Alt,
    // F10 and Alt with a caption's mnemonic reach it from the form, and a
    // letter then picks the item in the open menu. The menu stays its
    // owner's and is read again at each drop.
    void SetMenu(PopupMenu& menu);
    // The menu buttons' widest and narrowest widths in pixels.
    void SetMenuButtonWidths(int widest, int narrowest);
    // Drops the sub-menu of the menu button at `button`; returns after the
    // menu is closed (and the chosen item's Click has run). While it is open,
    // Left and Right (at the edge of the open menu) and the mouse over another
    // menu button move to that button's menu.
    void DropMenu(int button);

    bool Create(forms::Container& parent) override;

protected:
    void Clicked(int position) override;
    const std::string* TooltipOf(int position) const override;
    bool ToolbarNotify(NMHDR* header, LRESULT& result) override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDetach() override;
    bool TakeMenuKey(int character) override;

private:
    struct Button {
        std::string key, caption, tooltip;
        int style = 0;
        int image = -1;
        bool pressed = false;
        bool enabled = true;
        int32_t menuItem = 0;  // menu bar mode: the top-level item
    };
    void AddNative(int position);
    void BuildMenuButtons();
    friend struct MenuFilter;
    // A message of the open menu's loop; true when it moves to another menu.
    bool MenuLoopMessage(const MSG& msg);
    void SwitchMenu(int button);
    UINT TrackOne(int button, HMENU sub);

    std::vector<Button> buttons_;
    forms::ImageList* normalImages_ = nullptr;
    forms::ImageList* hotImages_ = nullptr;
    int imageSize_ = 16;
    bool textRight_ = false;
    PopupMenu* menu_ = nullptr;
    int menuWidest_ = 0, menuNarrowest_ = 0;
    // The open menu: its button, its top menu, the item selected last and
    // the button to go on with when it closes.
    int openButton_ = -1;
    HMENU openMenu_ = nullptr;
    HMENU selectedIn_ = nullptr;
    UINT selectedFlags_ = 0;
    int switchTo_ = -1;
};

// A strip that holds one toolbar at its top left and follows its height.
class ToolbarHost : public forms::Control, public forms::Container {
public:
    ToolbarHost() { height = 375; }
    ~ToolbarHost() override;

    // Puts the toolbar into the host (making its window here when it has
    // none yet).
    void Attach(Toolbar& toolbar);
    // The host's tear-down: lets go of its toolbar.
    void Detach();
    Toolbar* Hosted() const { return toolbar_; }

    bool Create(forms::Container& parent) override;
    HWND hWnd() const override { return Control::hWnd(); }
    forms::Form* ParentForm() override { return Control::ParentForm(); }

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDetach() override;

private:
    Toolbar* toolbar_ = nullptr;
};

class ReBar : public forms::Control {
public:
    // The bar's new height in pixels, whenever it changes (bands wrapping on
    // a narrower form, a band shown or hidden).
    std::function<void(long height)> HeightChanged;
    // The user moved a band; the layout may be asked for again.
    std::function<void()> LayoutChanged;

    ReBar() { width = height = 0; }
    ~ReBar() override;

    bool Create(forms::Container& parent) override;
    // 0 draws no borders between the bands.
    void SetBandBorders(int on);
    // Follows the size of `window` (the form it lies on), across its top.
    void Attach(HWND window);
    // A band holding `child`, with a caption, a gripper to move it, starting
    // a new row or not, known by `key`. Returns its 1-based number.
    int AddBand(HWND child, const std::string& text, bool gripper, bool newRow, const std::string& key);
    int BandCount() const;
    // 0 when no band has the key.
    int BandIndex(const std::string& key) const;
    // Lays the bands out again for the form's width.
    void Layout();
    // The bar's height in pixels.
    long BarHeight() const;
    // Tear-down: removes every band and stops following the form.
    void RemoveAllBands();

protected:
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    void OnDetach() override;

private:
    std::vector<std::string> keys_;  // by band id - 1
    int bandBorders_ = 1;
    SizeHook follow_;  // the form's size
};

}  // namespace corvella::platform
