// The automation face of forms and controls: a late-bound IDispatch that a
// COM library (the flat look, the dialog centring) is handed in place of the
// form. A form answers hWnd, Name and Controls (every control in the order
// it was created, each followed by the controls it holds); a control answers
// hWnd, Name, Height (twips), BorderStyle and Appearance, and its type name
// ("TextBox", "ComboBox"...) through its type information. Names are matched
// without regard to case, as automation clients expect.
//
// A face does not keep its form or control alive: once the window is gone
// every call fails with RPC_E_DISCONNECTED ("The object invoked has
// disconnected from its clients.") instead of touching freed memory.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "platform/forms/form.h"

namespace corvella::forms {

// Properties a control type may answer beyond hWnd, Name and Height.
enum class FaceProperty { BorderStyle, Appearance };

// How the face sees one kind of control. Types registered by the program
// (its own controls, list views over the common controls) are looked at
// before the run-time's intrinsic ones, newest first.
struct AutomationType {
    const char* typeName;                       // "ListView"
    bool (*matches)(const Control& control);    // is this control of the kind?
    // The window hWnd answers; null: the control's own window.
    HWND (*window)(const Control& control) = nullptr;
    // Optional property access; false: the property is not supported.
    bool (*get)(Control& control, FaceProperty property, long& value) = nullptr;
    bool (*set)(Control& control, FaceProperty property, long value) = nullptr;
};

void RegisterAutomationType(const AutomationType& type);

// The type name a face reports for the control ("Control" when none fits).
const char* AutomationTypeName(const Control& control);

// New references (the caller releases them); null when memory runs out.
IDispatch* AutomationFace(Form& form);
IDispatch* AutomationFace(Control& control);

}  // namespace corvella::forms
