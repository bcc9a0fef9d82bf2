// Early-bound view of Tesselor's CID3v2, for the program and the tests.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace tesselor {

enum EFrames : long {
    Title = 0,
    Artist = 1,
    Album = 2,
    Release_Year = 3,
    Comment = 4,
    Genre = 5,
    Track = 6,
    Composser = 7,
    Original_Artist = 8,
    Copyright_Information = 9,
    Web_Link = 10,
    Encoded_By = 11
};

}  // namespace tesselor

struct _CID3v2 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetFrameValue(tesselor::EFrames Frame, BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFrameValue(tesselor::EFrames Frame, BSTR Value,
                                                    BSTR* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReadTag(BSTR* Filename, VARIANT_BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveTag(BSTR* Filename, VARIANT_BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteTag(BSTR* Filename, VARIANT_BOOL* result) = 0;
};
__CRT_UUID_DECL(_CID3v2, 0xDF1CD442, 0x0C85, 0x43C4, 0x9B, 0x9F, 0xD2, 0x4E, 0x68, 0x4A, 0x25, 0x0A)

namespace tesselor {
// {F3CD8E3B-87C5-4D2E-AB8D-A03954747BFA}
constexpr CLSID CLSID_CID3v2 = {0xF3CD8E3B, 0x87C5, 0x4D2E, {0xAB, 0x8D, 0xA0, 0x39, 0x54, 0x74, 0x7B, 0xFA}};
// {249A461A-E05E-4F13-B736-7279C45CA1F3}
constexpr GUID LIBID_Tesselor = {0x249A461A, 0xE05E, 0x4F13, {0xB7, 0x36, 0x72, 0x79, 0xC4, 0x5C, 0xA1, 0xF3}};
// {EC6E503B-83FA-46AE-93C2-51CC84E22215}
constexpr GUID TYPEID_EFrames = {0xEC6E503B, 0x83FA, 0x46AE, {0x93, 0xC2, 0x51, 0xCC, 0x84, 0xE2, 0x22, 0x15}};
}  // namespace tesselor
