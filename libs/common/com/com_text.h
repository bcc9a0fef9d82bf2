// Text crossing the COM boundary: BSTRs and variants to and from one byte a
// character in the system's ANSI code page.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace corvella::com {

std::string BstrToAnsi(BSTR text);
// A new BSTR the caller owns; nullptr only when memory runs out.
BSTR AnsiToBstr(const std::string& text);
// The variant as text, as an automation client converts it (numbers in
// their shortest form, booleans as "True"/"False"); DISP_E_TYPEMISMATCH for
// Null and for values with no text form.
HRESULT VariantToAnsi(const VARIANT& value, std::string& out);
// The description of the thread's error object, which this takes
// (GetErrorInfo); "" when there is none or it has no text.
std::string TakeErrorDescription();

}  // namespace corvella::com
