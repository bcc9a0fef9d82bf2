// The process-wide part of the forms run-time: the App and Screen objects,
// the message box, the message loop (Run, DoEvents), and the two error rules
// of the program: an error in an event handler is reported and the program
// carries on; where failing statements are to be skipped, ResumeNext does it.
#pragma once

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <type_traits>

struct IOleInPlaceActiveObject;

namespace corvella::forms {

class Form;

// ---- errors ------------------------------------------------------------------

// A run-time error with its number and, when known, the line of the failing
// statement. Any std::exception is accepted where an Error is; it then has
// number 0 and no line.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& description, long number = 0, int line = 0)
        : std::runtime_error(description), number_(number), line_(line) {}
    long Number() const { return number_; }
    int Line() const { return line_; }

private:
    long number_;
    int line_;
};

// Runs one statement and gives what it throws the line number `line`, unless
// it already carries one, so the error report can say where it failed.
template <class F>
void AtLine(int line, F&& statement) {
    try {
        statement();
    } catch (const Error& e) {
        if (e.Line() != 0) throw;
        throw Error(e.what(), e.Number(), line);
    } catch (const std::exception& e) {
        throw Error(e.what(), 0, line);
    }
}

// The text of an error report: the description, a line break, "in Quillmark."
// with the object and procedure name (for example "frmMain.Form_Load"), a
// blank, then "at line " and the line number.
std::string ErrorText(const std::string& description, const std::string& where, int line);

// Shows that text in the message box, OK only, under the program's title.
void ReportError(const std::string& description, const std::string& where, int line);

// Runs an event handler. The procedure is named as in an error report:
// `owner` "." `object` "_" `event` ("frmOptions.cmdMain_Click"), or without
// the object part for the form's own events ("frmMain.Form_Load" with object
// "Form"). Whatever the handler throws is reported so and swallowed: no
// handler ends the process, and nothing is thrown through the system's
// window procedures.
template <class F>
void RunHandler(const std::string& owner, const std::string& object, const char* event,
                F&& handler) noexcept;

// Makes a failing window-subclass client (ISubclass) report itself like a
// failing event handler, "frmMain.ISubclass_WindowProc", after which the
// message goes on. The program calls it once at start-up.
void ReportSubclassFailures();

// Skips failing statements: each statement passed runs, and an error it
// throws is noted and swallowed, so the next one runs.
//     ResumeNext skip;
//     skip([&] { pic.SetWidth(w); });
//     skip([&] { pic.SetHeight(h); });
class ResumeNext {
public:
    // True when the statement ran without error.
    template <class F>
    bool operator()(F&& statement) noexcept {
        try {
            statement();
            return true;
        } catch (const Error& e) {
            Note(e.what(), e.Number());
        } catch (const std::exception& e) {
            Note(e.what(), 0);
        } catch (...) {
            Note("Unknown error", 0);
        }
        return false;
    }

    int Failures() const { return failures_; }
    // The last error skipped: its description and number ("" and 0 when none).
    const std::string& LastError() const { return lastError_; }
    long LastNumber() const { return lastNumber_; }
    void Clear() {
        failures_ = 0;
        lastError_.clear();
        lastNumber_ = 0;
    }

private:
    void Note(const char* description, long number) noexcept {
        ++failures_;
        try {
            lastError_ = description;
        } catch (...) {
        }
        lastNumber_ = number;
    }
    int failures_ = 0;
    std::string lastError_;
    long lastNumber_ = 0;
};

// ---- message box -------------------------------------------------------------

// The program's one way to show a message box; every box goes through it.

// What the message box does instead of showing a window: it gets the owner
// window, the prompt, the MB_ flags and the title, and returns the button
// (IDOK, IDYES, ...).
using MsgBoxHook = std::function<int(HWND owner, const std::string& prompt, unsigned buttons,
                                     const std::string& title)>;

// Replaces the message box (tests capture it instead of blocking); an empty
// hook brings the system's box back. Returns the hook that was in place.
MsgBoxHook SetMsgBoxHook(MsgBoxHook hook);
// The same for a hook that does not look at the owner.
template <class F, std::enable_if_t<std::is_invocable_r_v<int, F, const std::string&, unsigned,
                                                          const std::string&>,
                                    int> = 0>
MsgBoxHook SetMsgBoxHook(F hook) {
    return SetMsgBoxHook(MsgBoxHook(
        [hook](HWND, const std::string& prompt, unsigned buttons, const std::string& title) {
            return hook(prompt, buttons, title);
        }));
}

// MessageBoxA owned by the active window. An empty title is the program's
// title (App.Title()).
int MsgBox(const std::string& prompt, unsigned buttons = MB_OK, const std::string& title = "");
// The same owned by `owner` (no owner: null).
int MsgBox(HWND owner, const std::string& prompt, unsigned buttons, const std::string& title = "");

// ---- message loop ------------------------------------------------------------

// Handles one message as every loop of the run-time does. A key message goes,
// in this order, to
//   1. the in-place active object of an ActiveX control (SetActiveObject),
//   2. the form's KeyDown/KeyUp (with key preview, or for the form itself),
//   3. the control's KeyDown/KeyUp (KeyPress for the characters),
//   4. the dialog keys: Enter for the focused push button or else the
//      default button, Esc for the cancel button (unless the focused
//      control wants the key: a writable multi-line box keeps Enter), the
//      form's menu bar for Alt with a letter and for Alt or F10 pressed
//      alone, Tab in a multi-line box (Tab and Shift+Tab move the focus,
//      Ctrl+Tab types a tab), then Tab, the arrows and the controls'
//      mnemonics,
// and is then translated and dispatched; whichever takes it ends its way.
void ProcessMessage(MSG& msg);

// The in-place active object of the ActiveX control that is active on a
// form: its TranslateAccelerator sees every key message first, so that the
// control's own accelerators work. The run-time holds a reference until it
// is replaced; null for none (the container calls this from its
// IOleInPlaceFrame::SetActiveObject).
void SetActiveObject(IOleInPlaceActiveObject* object);
IOleInPlaceActiveObject* ActiveObject();

// The program's message loop: runs until WM_QUIT (posted when the last form
// is unloaded) and returns its exit code.
int Run();

// Handles the messages waiting when it is called and returns the number of
// loaded forms. Messages that arrive meanwhile (a fast timer's next tick)
// wait for the next call, so the call always returns. A WM_QUIT it meets is
// posted again for the outer loop.
int DoEvents();

// Forms loaded now.
int LoadedForms();

// ---- App ---------------------------------------------------------------------

// The program itself, read from its version resource on first use:
// Title = the "ProductName" string (else "FileDescription", else the exe name
// without extension); Major, Minor, Revision = the first three numbers of the
// fixed file version (0 without a resource).
class AppObject {
public:
    std::string Title() const;
    void SetTitle(const std::string& title);
    // The program's folder, without a trailing backslash unless it is a root.
    std::string Path() const;
    std::string ExeName() const;  // file name without folder and extension
    int Major() const;
    int Minor() const;
    int Revision() const;
    std::string HelpFile() const;
    void SetHelpFile(const std::string& file);
    // The code the program ends with when its last form is gone; 0 unless
    // a failure set another.
    int ExitCode() const { return exitCode_; }
    void SetExitCode(int code) { exitCode_ = code; }
    HINSTANCE hInstance() const;
    // The program's icon, the first icon group of its module (the one the
    // shell shows for the file), at the system's large or small icon size;
    // null when the program has none. Shared: never destroyed.
    HICON Icon(bool small) const;

private:
    void Read() const;
    mutable bool read_ = false;
    mutable std::string title_, path_, exeName_, helpFile_;
    mutable int major_ = 0, minor_ = 0, revision_ = 0;
    mutable bool iconsRead_ = false;
    mutable HICON icons_[2] = {};
    int exitCode_ = 0;
};
extern AppObject App;

// ---- Screen ------------------------------------------------------------------

// The screen in twips (1440 an inch), from its pixels per inch; conversions
// round halves to the even neighbour.
class ScreenObject {
public:
    double TwipsPerPixelX() const;
    double TwipsPerPixelY() const;
    int Width() const;   // twips
    int Height() const;  // twips
    int ToPixelsX(double twips) const;
    int ToPixelsY(double twips) const;
    int ToTwipsX(double pixels) const;
    int ToTwipsY(double pixels) const;
    // The form that was activated last and is still loaded, or null.
    Form* ActiveForm() const;

private:
    void Read() const;
    mutable int dpiX_ = 0, dpiY_ = 0;
};
extern ScreenObject Screen;

// ---- implementation ----------------------------------------------------------

namespace detail {
void ReportHandlerError(const std::string& owner, const std::string& object, const char* event,
                        const char* description, int line) noexcept;
}  // namespace detail

template <class F>
void RunHandler(const std::string& owner, const std::string& object, const char* event,
                F&& handler) noexcept {
    try {
        handler();
    } catch (const Error& e) {
        detail::ReportHandlerError(owner, object, event, e.what(), e.Line());
    } catch (const std::exception& e) {
        detail::ReportHandlerError(owner, object, event, e.what(), 0);
    } catch (...) {
        detail::ReportHandlerError(owner, object, event, "Unknown error", 0);
    }
}

}  // namespace corvella::forms
