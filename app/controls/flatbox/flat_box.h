// FlatBoxContainer: a container for other controls with a one-pixel raised
// frame round its edge, light (white) on the top and left, the button
// shadow on the right and bottom. No events, no persisted properties.
#pragma once

#include <windows.h>

#include "platform/forms/forms.h"

namespace corvella::controls {

extern const char kFlatBoxClass[];  // "Corvella.FlatBoxContainer"

class FlatBoxContainer : public forms::Control, public forms::Container {
public:
    FlatBoxContainer() = default;
    ~FlatBoxContainer() override;

    bool Create(forms::Container& parent) override;
    HWND hWnd() const override { return Control::hWnd(); }
    forms::Form* ParentForm() override { return Control::ParentForm(); }

protected:
    void OnDetach() override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void PaintFrame(HDC dc) const;
};

}  // namespace corvella::controls
