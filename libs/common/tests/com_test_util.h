// Helpers for the tests that drive the libraries through COM under Wine.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvella::testing {

struct ComApartment {
    ComApartment() { CoInitialize(nullptr); }
    ~ComApartment() { CoUninitialize(); }
};

// A private folder under %TEMP%, removed with its files afterwards.
class TempFolder {
public:
    TempFolder() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        char name[64];
        wsprintfA(name, "cvcom_%lu_%lu", GetCurrentProcessId(), GetTickCount() + counter_++);
        path_ = std::string(base) + name;
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((path_ + "\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::string f = path_ + "\\" + fd.cFileName;
                SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(f.c_str());
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(path_.c_str());
    }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    static inline unsigned counter_ = 0;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    DWORD put = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(h);
}

inline std::string ReadBytes(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::string();
    std::string out(GetFileSize(h, nullptr), '\0');
    DWORD got = 0;
    if (!out.empty()) ReadFile(h, &out[0], static_cast<DWORD>(out.size()), &got, nullptr);
    CloseHandle(h);
    out.resize(got);
    return out;
}

// Fake audio: an MPEG frame sync followed by varied bytes.
inline std::string FakeAudio(size_t n, unsigned seed = 1) {
    std::string s(n, '\0');
    unsigned x = seed;
    for (size_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        s[i] = static_cast<char>(x >> 16);
    }
    if (n >= 2) { s[0] = '\xFF'; s[1] = '\xFB'; }
    return s;
}

inline bool KeyExists(HKEY root, const std::string& key) {
    HKEY h;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

inline std::string KeyValue(HKEY root, const std::string& key, const char* name) {
    char buf[1024] = {0};
    DWORD len = sizeof buf, type = 0;
    HKEY h;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return "<no key>";
    LONG rc = RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &len);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS ? std::string(buf) : "<no value>";
}

inline std::string GuidText(REFGUID g) {
    wchar_t w[64];
    StringFromGUID2(g, w, 64);
    char a[64];
    WideCharToMultiByte(CP_ACP, 0, w, -1, a, sizeof a, nullptr, nullptr);
    return a;
}

inline BSTR Bstr(const std::string& ansi) {
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &w[0], n);
    return SysAllocString(w.c_str());
}

inline std::string Ansi(BSTR b) {
    if (!b) return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, b, static_cast<int>(SysStringLen(b)), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, b, static_cast<int>(SysStringLen(b)), &s[0], n, nullptr, nullptr);
    return s;
}

// Late-bound call by name, as a script makes it. Arguments in natural order.
inline HRESULT CallByName(IDispatch* d, const wchar_t* name, std::vector<VARIANT> args, VARIANT* result,
                          EXCEPINFO* ex = nullptr) {
    DISPID id = 0;
    LPOLESTR n = const_cast<LPOLESTR>(name);
    HRESULT hr = d->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    std::vector<VARIANT> rev(args.rbegin(), args.rend());
    DISPPARAMS dp = {rev.empty() ? nullptr : rev.data(), nullptr, static_cast<UINT>(rev.size()), 0};
    EXCEPINFO local;
    memset(&local, 0, sizeof local);
    UINT argerr = 0;
    if (result) VariantInit(result);
    hr = d->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &dp, result, ex ? ex : &local, &argerr);
    if (!ex) { SysFreeString(local.bstrSource); SysFreeString(local.bstrDescription); SysFreeString(local.bstrHelpFile); }
    return hr;
}

inline VARIANT VStr(const std::string& s) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = Bstr(s);
    return v;
}

inline VARIANT VLong(long n) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = n;
    return v;
}

// Runs a command line under the same Wine, waits, returns its exit code.
inline DWORD RunAndWait(const std::string& cmdline) {
    STARTUPINFOA si;
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    std::string cl = cmdline;
    if (!CreateProcessA(nullptr, &cl[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 0xFFFFFFFF;
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

}  // namespace corvella::testing

namespace corvella::testing {
// A file beside the running test program (the libraries are built there).
inline std::string BesideExe(const std::string& name) {
    char p[MAX_PATH];
    GetModuleFileNameA(nullptr, p, MAX_PATH);
    std::string s(p);
    return s.substr(0, s.find_last_of('\\') + 1) + name;
}
}  // namespace corvella::testing

namespace corvella::testing {

// The registered type library's name and description.
inline void ExpectLibraryIdentity(ITypeLib* lib, const char* name, const char* description) {
    BSTR n = nullptr, d = nullptr;
    lib->GetDocumentation(-1, &n, &d, nullptr, nullptr);
    EXPECT_EQ(Ansi(n), name);
    EXPECT_EQ(Ansi(d), description);
    SysFreeString(n);
    SysFreeString(d);
}

// An enumeration's members in order, valued 0, 1, ..., each found by the
// library's name lookup (which goes through the name hash table), each with
// its name as its help text.
inline void ExpectEnumMembers(ITypeLib* lib, REFGUID type_id, const std::vector<std::string>& names) {
    ITypeInfo* ti = nullptr;
    ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(type_id, &ti));
    TYPEATTR* ta = nullptr;
    ti->GetTypeAttr(&ta);
    EXPECT_EQ(ta->typekind, TKIND_ENUM);
    EXPECT_EQ(static_cast<size_t>(ta->cVars), names.size());
    for (UINT i = 0; i < ta->cVars && i < names.size(); ++i) {
        VARDESC* vd = nullptr;
        ti->GetVarDesc(i, &vd);
        BSTR n = nullptr;
        UINT got = 0;
        ti->GetNames(vd->memid, &n, 1, &got);
        EXPECT_EQ(Ansi(n), names[i]);
        EXPECT_EQ(V_I4(vd->lpvarValue), static_cast<LONG>(i));
        std::wstring w(n ? n : L"");
        BOOL found = FALSE;
        lib->IsName(&w[0], 0, &found);
        EXPECT_TRUE(found) << names[i];
        BSTR help = nullptr;
        EXPECT_HRESULT_SUCCEEDED(ti->GetDocumentation(vd->memid, nullptr, &help, nullptr, nullptr));
        EXPECT_EQ(Ansi(help), names[i]) << "a member's help text is its name";
        SysFreeString(help);
        SysFreeString(n);
        ti->ReleaseVarDesc(vd);
    }
    ti->ReleaseTypeAttr(ta);
    ti->Release();
}

}  // namespace corvella::testing
