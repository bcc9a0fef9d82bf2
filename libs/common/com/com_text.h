// Text crossing the COM boundary: BSTRs and variants to and from one byte a
// character in the system's ANSI code page.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>

namespace corvella::com {

std::string BstrToAnsi(BSTR text);
// A COM string that names a file, as the ANSI file calls take it: the name
// itself where the code page holds it, else the short name the file system
// gives the file where the code page holds that. Nothing where neither:
// BstrToAnsi's look-alikes (A for U+0100, A with a macron) may name
// another file. Like the ANSI calls, it reads the name up to a NUL.
std::optional<std::string> BstrToFileName(BSTR name);
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
