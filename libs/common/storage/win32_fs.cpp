// kernel32 implementation of the tag libraries' file access.
#include "libs/common/storage/storage.h"

#include <windows.h>

namespace corvella {
namespace {

class Win32File : public File {
public:
    explicit Win32File(HANDLE h) : h_(h) {}
    ~Win32File() override { CloseHandle(h_); }
    bool read_at(uint64_t off, void* buf, size_t n) override {
        char* p = static_cast<char*>(buf);
        while (n > 0) {
            if (!seek(off)) return false;
            DWORD want = n > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n), got = 0;
            if (!ReadFile(h_, p, want, &got, nullptr) || got == 0) return false;
            p += got; off += got; n -= got;
        }
        return true;
    }
    bool write_at(uint64_t off, const void* buf, size_t n) override {
        const char* p = static_cast<const char*>(buf);
        while (n > 0) {
            if (!seek(off)) return false;
            DWORD want = n > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n), put = 0;
            if (!WriteFile(h_, p, want, &put, nullptr) || put == 0) return false;
            p += put; off += put; n -= put;
        }
        return true;
    }
    // GetFileSize and SetFilePointer: Windows 95 and NT 4 have no ...Ex.
    bool size(uint64_t& out) override {
        DWORD high = 0;
        const DWORD low = GetFileSize(h_, &high);
        if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return false;
        out = (static_cast<uint64_t>(high) << 32) | low;
        return true;
    }
    bool truncate(uint64_t n) override { return seek(n) && SetEndOfFile(h_); }
    bool flush() override { return FlushFileBuffers(h_) != 0; }

private:
    bool seek(uint64_t off) {
        LONG high = static_cast<LONG>(off >> 32);
        SetLastError(NO_ERROR);
        const DWORD low = SetFilePointer(h_, static_cast<LONG>(off & 0xFFFFFFFFu), &high, FILE_BEGIN);
        return low != INVALID_SET_FILE_POINTER || GetLastError() == NO_ERROR;
    }
    HANDLE h_;
};

class Win32RenameSteps : public RenameSteps {
public:
    bool exists(const std::string& path) override {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    bool move(const std::string& from, const std::string& to) override {
        return MoveFileA(from.c_str(), to.c_str()) != 0;
    }
    bool remove(const std::string& path) override {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        return DeleteFileA(path.c_str()) != 0;
    }
};

using MoveFileExFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);

// MoveFileExA on Windows NT, where it replaces in one step; nullptr on
// Windows 9x, whose kernel32 has it only as a stub that fails.
MoveFileExFn AtomicMove() {
    if (GetVersion() & 0x80000000u) return nullptr;
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel != nullptr ? reinterpret_cast<MoveFileExFn>(
                                   reinterpret_cast<void*>(GetProcAddress(kernel, "MoveFileExA")))
                             : nullptr;
}

class Win32FileSystem : public FileSystem {
public:
    bool exists(const std::string& path) override {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::unique_ptr<File> open(const std::string& path, bool writable) override {
        HANDLE h = CreateFileA(path.c_str(), writable ? (GENERIC_READ | GENERIC_WRITE) : GENERIC_READ,
                               FILE_SHARE_READ | (writable ? 0 : FILE_SHARE_WRITE), nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return nullptr;
        return std::unique_ptr<File>(new Win32File(h));
    }
    std::unique_ptr<File> create_new(const std::string& path) override {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return nullptr;
        return std::unique_ptr<File>(new Win32File(h));
    }
    uint32_t get_attributes(const std::string& path) override {
        return GetFileAttributesA(path.c_str());
    }
    bool set_attributes(const std::string& path, uint32_t attrs) override {
        return SetFileAttributesA(path.c_str(), attrs) != 0;
    }
    bool replace(const std::string& from, const std::string& to) override {
        static const MoveFileExFn move_ex = AtomicMove();
        if (move_ex == nullptr) return replace_by_renames(platform_rename_steps(), from, to);
        return move_ex(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    bool remove(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }
    uint32_t cluster_size(const std::string& root) override {
        DWORD spc = 0, bps = 0, freec = 0, total = 0;
        if (!GetDiskFreeSpaceA(root.c_str(), &spc, &bps, &freec, &total)) return 0;
        return spc * bps;
    }
};

}  // namespace

FileSystem& platform_filesystem() {
    static Win32FileSystem fs;
    return fs;
}

RenameSteps& platform_rename_steps() {
    static Win32RenameSteps steps;
    return steps;
}

}  // namespace corvella
