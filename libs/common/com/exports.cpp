// The four standard exports of an in-process server, shared by every library.
#include "libs/common/com/com_server.h"

#if defined(__GLIBCXX__)
// The C++ run-time's hook that frees its memory for exceptions thrown when
// memory runs out; the run-time itself declares it in no header.
namespace __gnu_cxx {
void __freeres() noexcept;
}
#endif

namespace {
HMODULE g_module = nullptr;
}

HMODULE corvella::com::ThisModule() { return g_module; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
#if defined(__GLIBCXX__)
    // Each library carries its own C++ run-time, which sets 19 KB aside for
    // exceptions at every load and never gives it back: a host that frees
    // the library when unused and loads it again later kept 19 KB a time.
    // When the process ends (reserved set) nothing needs giving back.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) __gnu_cxx::__freeres();
#endif
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
    return corvella::com::GetClassObject(clsid, riid, ppv);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
    return corvella::com::ModuleCount() == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT WINAPI DllRegisterServer() { return corvella::com::RegisterServer(); }

extern "C" HRESULT WINAPI DllUnregisterServer() { return corvella::com::UnregisterServer(); }
