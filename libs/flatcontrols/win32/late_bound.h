// Late-bound access to automation objects by member name, as the flat look
// reads and sets the properties of a form's controls.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace corvella::flat {

// Reads a property; `out` is initialised and owned by the caller.
HRESULT GetProperty(IDispatch* object, const wchar_t* name, VARIANT& out);
HRESULT GetLongProperty(IDispatch* object, const wchar_t* name, long& out);
HRESULT PutLongProperty(IDispatch* object, const wchar_t* name, long value);
// The object's default member called with one index (a collection's Item).
HRESULT GetItem(IDispatch* collection, long index, IDispatch** out);
// The name of the object's type information; empty when it has none.
std::wstring TypeNameOf(IDispatch* object);

}  // namespace corvella::flat
