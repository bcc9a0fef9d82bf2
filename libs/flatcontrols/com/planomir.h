// Early-bound view of Planomir's FlatControls, for the program and the tests.
#pragma once

#include <windows.h>
#include <oaidl.h>

struct _FlatControls : public IDispatch {
    // Gives the form's standard controls the flat look; the form is its
    // automation face (hWnd, Controls). Always answers False.
    virtual HRESULT STDMETHODCALLTYPE CreateFlatControls(IDispatch** ParentForm, VARIANT_BOOL* result) = 0;
    // Releases the painters CreateFlatControls made. Always answers False.
    virtual HRESULT STDMETHODCALLTYPE DestroyFlatControls(VARIANT_BOOL* result) = 0;
    // The static edge (True) or the sunken edge (False) added to the
    // control's window; an object without "hwnd" is an error.
    virtual HRESULT STDMETHODCALLTYPE CreateSoftBorder(IDispatch* Control, VARIANT_BOOL SoftBorder,
                                                       VARIANT_BOOL* result) = 0;
};
__CRT_UUID_DECL(_FlatControls, 0xB9C46103, 0x0C9C, 0x4940, 0xA2, 0xE8, 0xAC, 0xF5, 0xBE, 0x2E, 0xAE, 0xAC)

namespace planomir {
// {94A32AB9-AD66-4AB0-A43D-5FF699A81D7F}
constexpr CLSID CLSID_FlatControls = {0x94A32AB9, 0xAD66, 0x4AB0, {0xA4, 0x3D, 0x5F, 0xF6, 0x99, 0xA8, 0x1D, 0x7F}};
// {5E0C2F1A-8B3D-4C6E-9A71-2D4F6B8C0E13}
constexpr GUID LIBID_Planomir = {0x5E0C2F1A, 0x8B3D, 0x4C6E, {0x9A, 0x71, 0x2D, 0x4F, 0x6B, 0x8C, 0x0E, 0x13}};
}  // namespace planomir
