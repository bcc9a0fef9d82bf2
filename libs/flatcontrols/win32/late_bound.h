// The typed reads and writes the flat look makes on a form's controls, over
// the late-bound calls by name of the COM plumbing.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace corvella::flat {

HRESULT GetLongProperty(IDispatch* object, const wchar_t* name, long& out);
HRESULT PutLongProperty(IDispatch* object, const wchar_t* name, long value);
// A property that holds an object; `out` is the caller's reference.
HRESULT GetObjectProperty(IDispatch* object, const wchar_t* name, IDispatch** out);
// The object's member Item called with one index (a collection's Item).
HRESULT GetItem(IDispatch* collection, long index, IDispatch** out);
// The name of the object's type information; empty when it has none.
std::wstring TypeNameOf(IDispatch* object);

}  // namespace corvella::flat
