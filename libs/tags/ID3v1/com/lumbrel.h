// Early-bound view of Lumbrel's CID3v1, for the program and the tests.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace lumbrel {

enum EFields : long {
    Title = 0,
    Artist = 1,
    Album = 2,
    Release_Year = 3,
    Comment = 4,
    Genre = 5,
    Track = 6
};

}  // namespace lumbrel

struct _CID3v1 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GetFieldValue(lumbrel::EFields Field, VARIANT* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFieldValue(lumbrel::EFields Field, VARIANT Value,
                                                    VARIANT* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReadTag(BSTR Filename, VARIANT_BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE WriteTag(BSTR Filename, VARIANT_BOOL* result) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveTag(BSTR Filename, VARIANT_BOOL* result) = 0;
};
__CRT_UUID_DECL(_CID3v1, 0x09EAE6B6, 0x78E5, 0x43B4, 0xA2, 0x9D, 0x59, 0x56, 0x4F, 0x08, 0xAD, 0xE1)

namespace lumbrel {
// {01FC67FD-CF62-4430-ADE9-6CE442BCE929}
constexpr CLSID CLSID_CID3v1 = {0x01FC67FD, 0xCF62, 0x4430, {0xAD, 0xE9, 0x6C, 0xE4, 0x42, 0xBC, 0xE9, 0x29}};
// {F952CB9D-EC8A-4ED6-9F0C-E13831F473C4}
constexpr GUID LIBID_Lumbrel = {0xF952CB9D, 0xEC8A, 0x4ED6, {0x9F, 0x0C, 0xE1, 0x38, 0x31, 0xF4, 0x73, 0xC4}};
// {31A844D6-9315-4AB9-BEE0-6AC10039EBB8}
constexpr GUID TYPEID_EFields = {0x31A844D6, 0x9315, 0x4AB9, {0xBE, 0xE0, 0x6A, 0xC1, 0x00, 0x39, 0xEB, 0xB8}};
}  // namespace lumbrel
