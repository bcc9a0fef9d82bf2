// The program's own progress bar control ("Corvella.ProgressBar"): a window
// of its own on a forms container with one "msctls_progress32" window as its
// only child, whose settings it keeps as properties. Style properties
// (orientation, smoothness) need a new progress window; the control makes
// one and carries range, position, step, edges and colours over to it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/forms/forms.h"

namespace corvella::controls {

// The control's window class and programmatic identifier.
extern const char kProgressBarClass[];  // "Corvella.ProgressBar"

// A colour as it goes to a window: values with the top bit set name a system
// colour (&H8000000F button face, &H8000000D highlight, ...) and become its
// RGB value; others are 0x00BBGGRR already.
COLORREF TranslateColour(uint32_t colour);

constexpr uint32_t kSystemHighlight = 0x8000000Du;
constexpr uint32_t kSystemButtonFace = 0x8000000Fu;

class ProgressBar : public forms::Control {
public:
    // ---- design: what the form gives the control before Create() ----
    bool smooth = false;
    int orientation = 0;   // 1 vertical; any other value horizontal
    int borderStyle = 1;   // 0 none, 1 thin edge round the bar, 2 sunken edge round the control
    uint32_t foreColor = kSystemHighlight;
    uint32_t backColor = kSystemButtonFace;
    int32_t min = 0;
    int32_t max = 100;
    int32_t step = 1;
    int32_t position = 0;

    ProgressBar() = default;
    ~ProgressBar() override;

    // Makes the control's window and the progress window in `parent` and
    // applies the design values. False when the control's own window cannot
    // be made; a progress window that cannot be made leaves hWnd() 0 and the
    // properties only stored.
    bool Create(forms::Container& parent) override;

    // Before Create() the setters write the design fields; afterwards each
    // changes the stored value and, when it differs and the progress window
    // exists, tells the window.
    int Orientation() const;
    void SetOrientation(int value);
    int32_t Min() const;
    void SetMin(int32_t value);
    int32_t Max() const;
    void SetMax(int32_t value);
    bool Smooth() const;
    void SetSmooth(bool value);
    int BorderStyle() const;
    void SetBorderStyle(int value);
    uint32_t BackColor() const;
    void SetBackColor(uint32_t colour);
    uint32_t ForeColor() const;
    void SetForeColor(uint32_t colour);
    int32_t Position() const;
    void SetPosition(int32_t value);
    // The control's default property under its other name.
    int32_t Value() const { return Position(); }
    void SetValue(int32_t value) { SetPosition(value); }
    int32_t Step() const;
    void SetStep(int32_t value);
    // Advances the bar by the step.
    void StepIt();

    // The progress window, not the control's own window (that one is
    // ContainerWindow()); 0 when there is none. Colour helpers send to it.
    HWND hWnd() const { return bar_; }
    HWND ContainerWindow() const { return Control::hWnd(); }

protected:
    void OnDetach() override;
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct State {
        uint32_t backColor = 0;
        uint32_t foreColor = kSystemHighlight;
        bool smooth = false;
        int orientation = 0;
        int borderStyle = 0;
        int32_t position = 0;
        int32_t min = 1;
        int32_t max = 100;
        int32_t step = 1;
    };
    void CreateBar();
    void DestroyBar();
    void Recreate();
    void SendRange();
    void ApplyBorder();
    void FitBar();

    State state_;
    HWND bar_ = nullptr;
};

}  // namespace corvella::controls
