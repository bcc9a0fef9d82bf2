#include "app/foundation/win32/shell/playback_win32.h"

#include <mmsystem.h>

#include <vector>

#include "libs/common/storage/storage.h"
#include "libs/common/text/text_primitives.h"
#include "platform/forms/runtime.h"

namespace corvella {
namespace shell {
namespace {

constexpr UINT kReplyChars = 30;
constexpr UINT kErrorTextChars = 128;

}  // namespace

// ---- MCI ----

uint32_t Win32MciPort::Send(const std::string& command, std::string* reply) {
    if (!reply) return mciSendStringA(command.c_str(), nullptr, 0, nullptr);
    char buf[kReplyChars + 1] = {};
    const MCIERROR err = mciSendStringA(command.c_str(), buf, kReplyChars, nullptr);
    *reply = err == 0 ? TrimAtNull(buf, kReplyChars) : std::string();
    return err;
}

std::string Win32MciPort::ErrorText(uint32_t code) {
    char buf[kErrorTextChars + 1] = {};
    if (mciGetErrorStringA(code, buf, kErrorTextChars) && buf[0] != '\0')
        return TrimAtNull(buf, kErrorTextChars);
    // An unknown code still tells the user that playback failed, and why.
    return "MCI error " + std::to_string(code);
}

// ---- Files ----

Win32PlaybackFiles::Win32PlaybackFiles(std::string title, HWND owner)
    : title_(std::move(title)), owner_(owner) {}

bool Win32PlaybackFiles::Exists(const std::string& path) {
    // A listing of a name with wildcards would find other files.
    if (path.empty() || path.find_first_of("*?") != std::string::npos) return false;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32PlaybackFiles::CopyOver(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

bool Win32PlaybackFiles::SetNormalAttributes(const std::string& path) {
    return SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL) != FALSE;
}

std::string Win32PlaybackFiles::ShortPath(const std::string& path) {
    std::vector<char> buf(256);
    DWORD n = GetShortPathNameA(path.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
    if (n >= buf.size()) {  // too long for the buffer: n is the size needed
        buf.assign(n + 1, '\0');
        n = GetShortPathNameA(path.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
    }
    if (n == 0 || n >= buf.size()) return std::string();
    return TrimAtNull(buf.data(), buf.size());
}

void Win32PlaybackFiles::ShowError(const std::string& text) {
    if (hook_) {
        hook_(text);
        return;
    }
    forms::MsgBox(owner_, text, MB_OK | MB_ICONERROR, title_);
}

// ---- The program's player ----

Win32Media::Win32Media() : Win32Media(forms::App.Path()) {}

Win32Media::Win32Media(const std::string& scratch_folder)
    : media_(mci_, files_, foundation::ScratchFilePath(scratch_folder)) {}

bool Win32Media::StopAndDeleteScratch() {
    media_.MP3Stop();
    const std::string& scratch = media_.ScratchPath();
    FileSystem& fs = platform_filesystem();
    if (!fs.exists(scratch)) return true;
    fs.set_attributes(scratch, kAttrNormal);
    return fs.remove(scratch);
}

Win32Media& gMedia() {
    static Win32Media media;
    return media;
}

}  // namespace shell
}  // namespace corvella
