// Disc images as drives, read through the Win32 file calls.
#include <windows.h>

#include <map>

#include "libs/common/text/text_primitives.h"
#include "platform/cdaudio/core/disc_image.h"
#include "platform/cdaudio/win32/drives.h"

namespace corvella::cdaudio {
namespace {

class Win32Files : public ImageFiles {
public:
    ~Win32Files() override { CloseAll(); }

    std::optional<uint64_t> Size(const std::string& path) override {
        HANDLE h = Handle(path);
        if (h == INVALID_HANDLE_VALUE) return std::nullopt;
        DWORD high = 0;
        const DWORD low = GetFileSize(h, &high);
        if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return std::nullopt;
        return uint64_t(high) << 32 | low;
    }

    bool Read(const std::string& path, uint64_t at, size_t n, uint8_t* out) override {
        HANDLE h = Handle(path);
        if (h == INVALID_HANDLE_VALUE) return false;
        LONG high = LONG(at >> 32);
        if (SetFilePointer(h, LONG(DWORD(at)), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
            GetLastError() != NO_ERROR)
            return false;
        DWORD got = 0;
        return ReadFile(h, out, DWORD(n), &got, nullptr) && got == n;
    }

    std::optional<std::vector<std::string>> List(const std::string& folder) override {
        const DWORD attributes = GetFileAttributesA(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return std::nullopt;
        std::string base = folder;
        if (base.back() != '\\' && base.back() != '/') base += '\\';
        std::vector<std::string> out;
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((base + "*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return out;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.push_back(base + found.cFileName);
        } while (FindNextFileA(find, &found));
        FindClose(find);
        return out;
    }

    void CloseAll() {
        for (auto& entry : open_) CloseHandle(entry.second);
        open_.clear();
    }

private:
    // Files stay open while the drive is in use: a read is 26 frames.
    HANDLE Handle(const std::string& path) {
        auto it = open_.find(path);
        if (it != open_.end()) return it->second;
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) open_[path] = h;
        return h;
    }
    std::map<std::string, HANDLE> open_;
};

class ImageDrive : public Drive {
public:
    explicit ImageDrive(const std::string& path) : path_(path) {}

    bool Load() {
        image_ = DiscImage::Open(path_, files_, nullptr);
        files_.CloseAll();
        if (!image_) return false;
        Describe(&record, "Image: " + image_->Name(), "Image", image_->Name());
        return true;
    }
    int Open() override { return image_->FailsOpen() ? kErrNoLock : kOk; }
    int ReadToc(bool msf, TOC* toc) override {
        if (image_->FailsToc()) return kErrAspi;
        FillToc(image_->Layout(), msf, toc);
        return kOk;
    }
    int Read(uint32_t start, uint32_t count, uint8_t* out, uint32_t* got) override {
        return image_->Read(start, count, out, got);
    }
    void Close() override { files_.CloseAll(); }

private:
    std::string path_;
    Win32Files files_;
    std::unique_ptr<DiscImage> image_;
};

std::string EnvList() {
    char small[1];
    const DWORD need = GetEnvironmentVariableA("CORVELLA_DISC_IMAGES", small, 0);
    if (need == 0) return {};
    std::string value(need, '\0');
    const DWORD got = GetEnvironmentVariableA("CORVELLA_DISC_IMAGES", &value[0], need);
    value.resize(got < need ? got : 0);
    return value;
}

// The registry value, or nothing when it is missing.
bool RegistryList(std::string* out) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Corvella\\Options\\CD Audio", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = 0;
    bool ok = RegQueryValueExA(key, "Disc Images", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
              (type == REG_SZ || type == REG_EXPAND_SZ);
    if (ok) {
        std::string value(size + 1, '\0');
        ok = RegQueryValueExA(key, "Disc Images", nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &size) ==
             ERROR_SUCCESS;
        value.resize(value.find('\0'));
        *out = value;
    }
    RegCloseKey(key);
    return ok;
}

}  // namespace

Drives ImageDrives(const std::string& list) {
    Drives drives;
    for (const std::string& part : SplitText(list, ';')) {
        const std::string path = TrimBlanks(part);
        if (path.empty()) continue;
        auto drive = std::make_shared<ImageDrive>(path);
        if (drive->Load()) drives.push_back(drive);
    }
    return drives;
}

Drives ImageDrives() {
    std::string list = EnvList();
    if (list.empty()) RegistryList(&list);
    return ImageDrives(list);
}

}  // namespace corvella::cdaudio
