// CID3v2: the COM face of the ID3v2 core. Converts BSTRs and maps results;
// the frames, reading and writing live in the core.
#include "libs/common/com/com_server.h"
#include "libs/common/com/com_text.h"
#include "libs/tags/ID3v2/core/id3v2_tag.h"
#include "libs/common/storage/storage.h"
#include "libs/tags/ID3v2/com/tesselor.h"

#include <oleauto.h>

namespace {

class CID3v2 : public corvella::com::Dual<_CID3v2> {
public:
    STDMETHODIMP GetFrameValue(tesselor::EFrames frame, BSTR* result) override {
        if (!result) return E_POINTER;
        *result = corvella::com::AnsiToBstr(tag_.GetFrameValue(static_cast<int>(frame)));
        return *result ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHODIMP SetFrameValue(tesselor::EFrames frame, BSTR value, BSTR* result) override {
        tag_.SetFrameValue(static_cast<int>(frame), corvella::com::BstrToAnsi(value));
        if (result) *result = SysAllocStringLen(L"", 0);
        return S_OK;
    }
    // The file name is taken by reference, as early-bound callers pass it;
    // it is never changed.
    STDMETHODIMP ReadTag(BSTR* filename, VARIANT_BOOL* result) override {
        return corvella::com::BoolResult(filename && tag_.ReadTag(fs(), Path(*filename)), result);
    }
    STDMETHODIMP RemoveTag(BSTR* filename, VARIANT_BOOL* result) override {
        return corvella::com::BoolResult(filename && tag_.RemoveTag(fs(), Path(*filename)), result);
    }
    STDMETHODIMP WriteTag(BSTR* filename, VARIANT_BOOL* result) override {
        return corvella::com::BoolResult(filename && tag_.WriteTag(fs(), Path(*filename)), result);
    }

private:
    static corvella::FileSystem& fs() { return corvella::platform_filesystem(); }
    // A name the ANSI calls cannot reach goes as "", which names no file, so
    // each call fails as for a missing one.
    static std::string Path(BSTR filename) { return corvella::com::BstrToFileName(filename).value_or(""); }
    corvella::id3v2::CID3v2Tag tag_;
};

const corvella::com::ClassEntry kClasses[] = {
    {&tesselor::CLSID_CID3v2, "CID3v2", "Tesselor.CID3v2", &corvella::com::CreateInstance<CID3v2>},
};
const corvella::com::ServerInfo kServer = {&tesselor::LIBID_Tesselor, 1, 0, kClasses, 1};

}  // namespace

const corvella::com::ServerInfo& corvella::com::Server() { return kServer; }
