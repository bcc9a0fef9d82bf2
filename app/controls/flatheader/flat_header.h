// CFlatHeader: a list view's column header made flat and its notifications
// turned into events. Attached to a list view in report mode, it repaints
// the header after the header has painted itself (one-pixel edges instead of
// the raised double edge; not on Windows XP) and raises six events with
// positions and widths in twips. Messages come through the program's
// subclass manager.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "libs/common/subclass/subclass.h"
#include "platform/forms/runtime.h"

namespace corvella::controls {

// The error Attach raises for a window without a header.
constexpr long kNoHeaderError = 26020;
extern const char kNoHeaderDescription[];  // "Invalid Window Passed to cFlatHeader - no header control detected."

// A run-time error that also names its source ("Corvella.cFlatHeader").
class SourcedError : public forms::Error {
public:
    SourcedError(const std::string& description, long number, std::string source)
        : forms::Error(description, number), source_(std::move(source)) {}
    const std::string& Source() const { return source_; }

private:
    std::string source_;
};

class CFlatHeader : public platform::ISubclass {
public:
    // How an error in an event handler names the procedure:
    // "frmMain.mFlatHeader_BeginTrack".
    std::string ownerName = "Form";
    std::string name = "cFlatHeader";

    // ---- events (columns are 1-based; 0: the cursor was over no column) ----
    std::function<void(long x, long y)> RightClick;  // twips in the list view's client area
    // Set cancel to stop the resize or drag. The flag is the object's own and
    // is not reset between events: a handler that leaves it keeps the last value.
    std::function<void(long column, bool& cancel)> BeginTrack;
    std::function<void(long column, long width)> EndTrack;      // width in twips
    std::function<void(long column, long width)> ItemChanging;  // width before the change
    std::function<void(long column, bool& cancel)> BeginDrag;
    std::function<void(long column)> EndDrag;

    CFlatHeader() = default;
    CFlatHeader(const CFlatHeader&) = delete;
    CFlatHeader& operator=(const CFlatHeader&) = delete;
    ~CFlatHeader();

    // Finds the header (hWnd itself or its header child) and starts the
    // flat painting and the events. Throws SourcedError 26020 when there is
    // no header; nothing stays hooked then.
    void Attach(HWND hWnd);
    // Stops both; harmless when nothing is attached.
    void Detach();
    HWND HeaderWindow() const { return header_; }

    // True: the static edge in place of the client edge; False: the client
    // edge added. The frame is redrawn. Any window.
    static void ThinBorder(HWND hWnd, bool value);

    void put_MsgResponse(long) override {}
    long get_MsgResponse() override { return platform::kMsgResponseAfterOriginal; }
    LRESULT WindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override;

private:
    void PaintFlat();
    LRESULT OnNotify(const NMHDR& header);
    long ColumnWidthTwips() const;

    HWND attached_ = nullptr;
    HWND header_ = nullptr;
    bool cancel_ = false;
    short column_ = 0;
};

}  // namespace corvella::controls
