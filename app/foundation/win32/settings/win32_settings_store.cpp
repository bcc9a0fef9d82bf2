#include "app/foundation/win32/settings/win32_settings_store.h"

#include <windows.h>

namespace corvella {
namespace {

constexpr REGSAM kFullAccess = 0x3F;  // KEY_ALL_ACCESS without the standard rights

HKEY RootHandle(int32_t root) {
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<uint32_t>(root)));
}

// Closes the key at scope end; predefined roots are left alone.
class OpenKey {
public:
    OpenKey(int32_t root, const std::string& path, REGSAM access) {
        ok_ = RegOpenKeyExA(RootHandle(root), path.c_str(), 0, access, &key_) == ERROR_SUCCESS;
    }
    OpenKey(int32_t root, const std::string& path) {  // create or open
        DWORD disposition = 0;
        ok_ = RegCreateKeyExA(RootHandle(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              kFullAccess, nullptr, &key_, &disposition) == ERROR_SUCCESS;
    }
    ~OpenKey() {
        if (ok_ && key_ != nullptr) RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    bool ok() const { return ok_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
    bool ok_ = false;
};

}  // namespace

bool Win32SettingsStore::KeyExists(int32_t root, const std::string& path) {
    return OpenKey(root, path, KEY_QUERY_VALUE).ok();
}

bool Win32SettingsStore::CreateKey(int32_t root, const std::string& path) {
    return OpenKey(root, path).ok();
}

bool Win32SettingsStore::DeleteKey(int32_t root, const std::string& path) {
    // A root is never deleted; a key with sub-keys is refused here, whatever
    // the registry under us would do with it.
    if (path.empty()) return false;
    std::vector<std::string> children;
    if (!EnumSubKeys(root, path, children) || !children.empty()) return false;
    return RegDeleteKeyA(RootHandle(root), path.c_str()) == ERROR_SUCCESS;
}

bool Win32SettingsStore::QueryValue(int32_t root, const std::string& path, const std::string& name,
                                    int32_t& type, std::vector<uint8_t>& data) {
    OpenKey key(root, path, KEY_QUERY_VALUE);
    if (!key.ok()) return false;
    DWORD size = 0;
    DWORD t = 0;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &t, nullptr, &size) != ERROR_SUCCESS)
        return false;
    // The value may grow between the two calls: retry until it fits.
    for (;;) {
        data.assign(size, 0);
        DWORD got = size;
        const LONG rc = RegQueryValueExA(key.get(), name.c_str(), nullptr, &t,
                                         data.empty() ? nullptr : data.data(), &got);
        if (rc == ERROR_MORE_DATA) {
            size = got > size ? got : size * 2 + 16;
            continue;
        }
        if (rc != ERROR_SUCCESS) {
            data.clear();
            return false;
        }
        data.resize(got);
        type = static_cast<int32_t>(t);
        return true;
    }
}

StoreResult Win32SettingsStore::SetValue(int32_t root, const std::string& path,
                                         const std::string& name, int32_t type,
                                         const std::vector<uint8_t>& data) {
    OpenKey key(root, path);
    if (!key.ok()) return StoreResult::kNoKey;
    const LONG rc = RegSetValueExA(key.get(), name.c_str(), 0, static_cast<DWORD>(type),
                                   data.empty() ? nullptr : data.data(),
                                   static_cast<DWORD>(data.size()));
    return rc == ERROR_SUCCESS ? StoreResult::kOk : StoreResult::kFailed;
}

StoreResult Win32SettingsStore::DeleteValue(int32_t root, const std::string& path,
                                            const std::string& name) {
    OpenKey key(root, path, kFullAccess);
    if (!key.ok()) return StoreResult::kNoKey;
    return RegDeleteValueA(key.get(), name.c_str()) == ERROR_SUCCESS ? StoreResult::kOk
                                                                     : StoreResult::kFailed;
}

bool Win32SettingsStore::EnumValues(int32_t root, const std::string& path,
                                    std::vector<std::string>& names) {
    names.clear();
    OpenKey key(root, path, KEY_QUERY_VALUE);
    if (!key.ok()) return false;
    DWORD longest = 0;
    RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     &longest, nullptr, nullptr, nullptr);
    std::vector<char> buffer(longest + 1 > 16384 ? longest + 1 : 16384);
    for (DWORD i = 0;; ++i) {
        DWORD len = static_cast<DWORD>(buffer.size());
        const LONG rc =
            RegEnumValueA(key.get(), i, buffer.data(), &len, nullptr, nullptr, nullptr, nullptr);
        if (rc != ERROR_SUCCESS) break;
        names.emplace_back(buffer.data(), len);
    }
    return true;
}

bool Win32SettingsStore::EnumSubKeys(int32_t root, const std::string& path,
                                     std::vector<std::string>& names) {
    names.clear();
    OpenKey key(root, path, KEY_ENUMERATE_SUB_KEYS);
    if (!key.ok()) return false;
    char buffer[256];  // key names are at most 255 characters
    for (DWORD i = 0;; ++i) {
        DWORD len = sizeof(buffer);
        const LONG rc =
            RegEnumKeyExA(key.get(), i, buffer, &len, nullptr, nullptr, nullptr, nullptr);
        if (rc != ERROR_SUCCESS) break;
        names.emplace_back(buffer, len);
    }
    return true;
}

std::string Win32SettingsStore::ExpandEnvironment(const std::string& text) {
    DWORD need = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (need == 0) return text;
    std::string out(need, '\0');
    const DWORD got = ExpandEnvironmentStringsA(text.c_str(), &out[0], need);
    if (got == 0 || got > need) return text;
    out.resize(got - 1);  // the count includes the terminating zero
    return out;
}

SettingsStore& RegistryStore() {
    static Win32SettingsStore store;
    return store;
}

}  // namespace corvella
