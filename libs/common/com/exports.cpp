// The four standard exports of an in-process server, shared by every library.
#include "libs/common/com/com_server.h"

namespace {
HMODULE g_module = nullptr;
}

HMODULE corvella::com::ThisModule() { return g_module; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
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
