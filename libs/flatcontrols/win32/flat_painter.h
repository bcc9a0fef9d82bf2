// CFlatControls: the painter that makes one combo box, check box or option
// button look flat. Once attached it sees the control's paints (and the
// check state changes) and its parent's commands through the subclass
// service, and after the control has painted itself draws thin frames in
// system colours over its three-dimensional edges. Releasing it unhooks.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "libs/common/subclass/subclass.h"

namespace corvella::flat {

class CFlatControls : public platform::ISubclass {
public:
    CFlatControls() = default;
    CFlatControls(const CFlatControls&) = delete;
    CFlatControls& operator=(const CFlatControls&) = delete;
    ~CFlatControls();

    // Classifies the control by its type name, remembers its windows and
    // hooks them. A control without "hwnd" leaves the error info set
    // (0x80040419) and nothing hooked; the call itself succeeds.
    void Attach(IDispatch* control);
    // A combo whose list is down; False for every other painter.
    bool DroppedDown() const;
    bool Hooked() const { return hooked_; }

    void put_MsgResponse(long) override {}
    long get_MsgResponse() override;
    LRESULT WindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
    void HookMessages(HWND hwnd);
    void UnhookMessages();
    void DrawControl(bool dropped);
    void DrawComboFrame(int kind);
    void DrawCheckFrame();
    void DrawOptionGlyph();

    HWND control_ = nullptr;
    HWND parent_ = nullptr;
    bool hooked_ = false;
    bool combo_ = false;
    bool checkBox_ = false;
    bool optionButton_ = false;
};

// What the library keeps per thread that uses it, made on first use: its
// subclass manager and the number of painters alive (the last slot taken).
struct ThreadState {
    platform::SubclassManager manager;
    short livePainters = 0;
};
ThreadState& CurrentThreadState();
platform::SubclassManager& ThreadSubclassManager();

// Holds the module while a window still carries this module's subclass
// layer, so the library is not unloaded under a window procedure that
// points into it; let go once no window carries it. Called after every
// hook change.
void SyncModuleLock();

}  // namespace corvella::flat
