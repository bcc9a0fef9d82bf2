#include "app/foundation/win32/shell/directory_lister.h"

#include <windows.h>

#include "libs/common/storage/storage.h"
#include "libs/common/storage/win32_find_names.h"
#include "libs/common/text/text_primitives.h"

namespace corvella {
namespace shell {
namespace {

// ---- ntdll's directory listing, which the find functions are built on ----
// It hands out each entry's file id with the entry, so the search learns
// the identity of a sub-folder without opening it.

struct IoStatusBlock {
    union {
        LONG Status;
        PVOID Pointer;
    };
    ULONG_PTR Information;
};

struct FileIdBothDirInfo {
    ULONG NextEntryOffset;
    ULONG FileIndex;
    LARGE_INTEGER CreationTime;
    LARGE_INTEGER LastAccessTime;
    LARGE_INTEGER LastWriteTime;
    LARGE_INTEGER ChangeTime;
    LARGE_INTEGER EndOfFile;
    LARGE_INTEGER AllocationSize;
    ULONG FileAttributes;
    ULONG FileNameLength;  // bytes
    ULONG EaSize;
    CCHAR ShortNameLength;
    WCHAR ShortName[12];
    LARGE_INTEGER FileId;
    WCHAR FileName[1];
};

constexpr int kFileIdBothDirectoryInformation = 37;
constexpr LONG kStatusNoMoreFiles = static_cast<LONG>(0x80000006);

using NtQueryDirectoryFileFn = LONG(WINAPI*)(HANDLE, HANDLE, PVOID, PVOID, IoStatusBlock*, PVOID, ULONG, int,
                                             BOOLEAN, PVOID, BOOLEAN);

NtQueryDirectoryFileFn DirectoryQuery() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll ? reinterpret_cast<NtQueryDirectoryFileFn>(
                       reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQueryDirectoryFile")))
                 : nullptr;
}

// Windows 9x (the high bit of GetVersion) cannot open a directory as a
// file, so it has no identities to give.
bool DirectoriesOpen() { return (GetVersion() & 0x80000000u) == 0; }

// The creation time goes into the identity with the volume serial number:
// Wine gives every Unix file system mounted below one drive the same serial
// (or none), so two file-system roots can share serial and index there and
// the search would skip the second as seen. A folder reached through a link
// has its target's creation time.
uint64_t VolumeKey(DWORD serial, DWORD created_high, DWORD created_low) {
    return (static_cast<uint64_t>(serial) << 32) | (created_high ^ created_low);
}

}  // namespace

Win32DirectoryLister::Win32DirectoryLister(ListingMethod method)
    : can_identify_(DirectoriesOpen()),
      query_(can_identify_ && method == ListingMethod::Automatic ? reinterpret_cast<void*>(DirectoryQuery())
                                                                 : nullptr) {}

bool Win32DirectoryLister::Exists(const std::string& path) { return platform_filesystem().exists(path); }

std::optional<foundation::FolderId> Win32DirectoryLister::Identify(const std::string& folder_path) {
    if (!can_identify_) return std::nullopt;
    // Reading attributes is all it takes; sharing everything so a folder
    // that another program has open is identified all the same.
    HANDLE h = CreateFileA(folder_path.c_str(), FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const BOOL ok = GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    if (!ok) return std::nullopt;
    foundation::FolderId id;
    id.volume = VolumeKey(info.dwVolumeSerialNumber, info.ftCreationTime.dwHighDateTime,
                          info.ftCreationTime.dwLowDateTime);
    id.index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    Remember(folder_path, info.dwVolumeSerialNumber);
    return id;
}

bool Win32DirectoryLister::List(const std::string& folder_path, std::vector<foundation::DirEntry>& entries) {
    entries.clear();
    if (query_ && ListWithIds(folder_path, entries)) return true;
    // No listing with ids for this folder (an old system, a file system
    // that refuses it, or no access): the find functions, from the start.
    entries.clear();
    return ListWithFind(folder_path, entries);
}

bool Win32DirectoryLister::ListWithFind(const std::string& folder_path, std::vector<foundation::DirEntry>& entries) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder_path + "*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    do {
        foundation::DirEntry entry;
        entry.name = TrimAtNull(data.cFileName, sizeof(data.cFileName));
        entry.is_directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.name_opens = LongNameOpens(folder_path, data);
        entry.short_name = TrimAtNull(data.cAlternateFileName, sizeof(data.cAlternateFileName));
        entries.push_back(std::move(entry));
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return true;
}

bool Win32DirectoryLister::ListWithIds(const std::string& folder_path, std::vector<foundation::DirEntry>& entries) {
    HANDLE dir = CreateFileA(folder_path.c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (dir == INVALID_HANDLE_VALUE) return false;

    // The volume of this folder: known when its parent listed it, else (a
    // search path, or a folder behind a link) asked of the folder itself.
    DWORD serial = 0;
    bool serial_known = false;
    const auto known = volumes_.find(folder_path);
    if (known != volumes_.end()) {
        serial = known->second;
        serial_known = true;
        volumes_.erase(known);
    } else {
        BY_HANDLE_FILE_INFORMATION info;
        if (GetFileInformationByHandle(dir, &info)) {
            serial = info.dwVolumeSerialNumber;
            serial_known = true;
        }
    }

    const auto query = reinterpret_cast<NtQueryDirectoryFileFn>(query_);
    buffer_.resize(64 * 1024 / sizeof(LONGLONG));
    bool first = true;
    bool listed = true;
    for (;;) {
        IoStatusBlock io;
        io.Status = 0;
        io.Information = 0;
        const LONG status = query(dir, nullptr, nullptr, nullptr, &io, buffer_.data(),
                                  static_cast<ULONG>(buffer_.size() * sizeof(LONGLONG)),
                                  kFileIdBothDirectoryInformation, FALSE, nullptr, first ? TRUE : FALSE);
        if (status == kStatusNoMoreFiles) break;
        if (status < 0) {
            // Refused at once: the caller lists with the find functions.
            // Later, like a failing FindNextFileA, it ends the listing.
            listed = !first;
            break;
        }
        first = false;
        if (io.Information == 0) break;
        const BYTE* p = reinterpret_cast<const BYTE*>(buffer_.data());
        for (;;) {
            const auto* info = reinterpret_cast<const FileIdBothDirInfo*>(p);
            foundation::DirEntry entry;
            entry.name = NarrowName(info->FileName, static_cast<int>(info->FileNameLength / sizeof(WCHAR)),
                                    entry.name_opens);
            bool exact = true;
            const int shortChars = static_cast<unsigned char>(info->ShortNameLength) / static_cast<int>(sizeof(WCHAR));
            entry.short_name = NarrowName(info->ShortName, shortChars, exact);
            entry.is_directory = (info->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            // A link's entry describes the link, not where it leads: those
            // are opened (Identify) to learn their target's identity.
            if (entry.is_directory && serial_known && info->FileId.QuadPart != 0 &&
                (info->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && entry.name != "." &&
                entry.name != "..") {
                foundation::FolderId id;
                id.volume = VolumeKey(serial, static_cast<DWORD>(info->CreationTime.HighPart),
                                      info->CreationTime.LowPart);
                id.index = static_cast<uint64_t>(info->FileId.QuadPart);
                entry.folder_id = id;
                Remember(folder_path + (entry.name_opens ? entry.name : entry.short_name) + "\\", serial);
            }
            entries.push_back(std::move(entry));
            if (info->NextEntryOffset == 0) break;
            p += info->NextEntryOffset;
        }
    }
    CloseHandle(dir);
    return listed;
}

void Win32DirectoryLister::Remember(const std::string& folder_path, DWORD serial) {
    // Folders listed take their entry out again; those a search never
    // enters (not recursive) would pile up across searches.
    if (volumes_.size() >= kMaxRemembered) volumes_.clear();
    volumes_[folder_path] = serial;
}

// ---- Yields ----

PumpingSearchEvents::PumpingSearchEvents(std::function<void()> yield, DWORD interval_ms)
    : yield_(std::move(yield)), interval_(interval_ms), last_(GetTickCount() - interval_ms) {}

void PumpingSearchEvents::YieldToMessages() {
    const DWORD now = GetTickCount();
    if (now - last_ < interval_ || !yield_) return;
    last_ = now;
    yield_();
}

}  // namespace shell
}  // namespace corvella
