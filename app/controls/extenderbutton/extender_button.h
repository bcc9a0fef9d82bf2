// ExtenderButton: a flat image button. It shows one small picture and draws
// a one-pixel frame only while the pointer is over it (raised) or while it
// is pressed (sunken). Click comes as soon as a mouse button goes down on
// it. Leaving is noticed by polling the cursor every 10 ms, the timer
// message coming through the program's subclass manager.
#pragma once

#include <windows.h>

#include <cstdint>

#include "libs/common/subclass/subclass.h"
#include "platform/forms/forms.h"

namespace corvella::controls {

extern const char kExtenderButtonClass[];  // "Corvella.ExtenderButton"

class ExtenderButton : public forms::Control, public platform::ISubclass {
public:
    // ---- design ----
    uint32_t backColour = 0x8000000Fu;  // an OLE colour; the button face by default

    forms::ClickHandler Click;

    ExtenderButton();
    ~ExtenderButton() override;

    bool Create(forms::Container& parent) override;

    uint32_t BackColour() const;
    void SetBackColour(uint32_t colour);
    // The button's own enabled state: which picture shows and whether a
    // press raises Click. Its window stays enabled, so presses still reach
    // it and are refused. (The design field `enabled` is read the same way.)
    bool Enabled() const;
    void SetEnabled(bool on);
    // True keeps the raised frame whatever the pointer does, from the next
    // paint on; False redraws at once.
    bool RemainPressed() const { return remainPressed_; }
    void SetRemainPressed(bool on);

    // The top of the picture now shown, twips in the control.
    int PictureTop() const;

    void put_MsgResponse(long) override {}
    long get_MsgResponse() override { return platform::kMsgResponseAlongside; }
    LRESULT WindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override;

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDetach() override;

private:
    void Redraw(bool keepPictures);
    void CentrePictures();
    void Paint(HDC dc);
    void Unhook();

    bool pictureEnabled_ = true;
    bool hooked_ = false;
    bool hover_ = false;
    bool pressed_ = false;
    bool remainPressed_ = false;
    uint32_t backNow_ = 0x8000000Fu;
    int pictureTop_[2] = {0, 0};  // twips: the enabled and the disabled picture
};

}  // namespace corvella::controls
