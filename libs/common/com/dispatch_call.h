// Late-bound calls by member name, as a script makes them: for objects the
// libraries know only as IDispatch (a form's "hwnd", a printer's "Copies",
// an event sink's "InitDialog").
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <vector>

#include "libs/common/com/com_ptr.h"

namespace corvella::com {

// The member id of `name`. Objects that answer names only through
// IDispatchEx (a script's own objects under Wine's script engine) are asked
// there, case-insensitively, as a script would.
HRESULT DispIdOfName(IDispatch* object, const wchar_t* name, DISPID* id);

// Calls method `name` with `args` in their declared order; by-reference
// arguments (Variant::ByRef) come back changed. `result` may be null.
HRESULT CallByName(IDispatch* object, const wchar_t* name, const std::vector<Variant>& args = {},
                   Variant* result = nullptr);
// Reads and writes property `name`; a read may pass indexes (a
// collection's Item).
HRESULT GetByName(IDispatch* object, const wchar_t* name, Variant& value);
HRESULT GetByName(IDispatch* object, const wchar_t* name, const std::vector<Variant>& indexes, Variant& value);
HRESULT PutByName(IDispatch* object, const wchar_t* name, const Variant& value);

}  // namespace corvella::com
