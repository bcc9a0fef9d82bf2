// The two controls of the ripper dialog the forms run-time lacks: a tab
// strip (the system's tab control) and a list box that lets the user
// select several items at once.
#pragma once

#include <string>
#include <vector>

#include "platform/forms/forms.h"

namespace corvella {

// The controls the design lays over the strip's page lie above it.
class TabStrip : public forms::Control {
public:
    std::vector<std::string> tabs;  // captions, in order
    // The tabs' pictures: the list (the form's, filled before the strip is
    // made) and each tab's image in it, from 1; 0 or none listed: no picture.
    forms::ImageList* imageList = nullptr;
    std::vector<int> images;

    TabStrip();

    // The user chose another tab.
    forms::ClickHandler Click;

    bool Create(forms::Container& parent) override;
    // The chosen tab, from 1 as the dialog counts them.
    int SelectedTab() const;
    // Chooses a tab from code; Click fires as for the user's choice.
    void SetSelectedTab(int tab);

protected:
    bool OnNotify(NMHDR* header, LRESULT& result) override;
};

// Extended selection: Shift and Ctrl pick ranges and single items.
class MultiListBox : public forms::ListBox {
public:
    bool Create(forms::Container& parent) override;
    bool Selected(int at) const;
    void SetSelected(int at, bool on);
    int SelCount() const;

protected:
    // Every change of the selection, not only of the item with the caret.
    void OnCommand(int code) override;
};

}  // namespace corvella
