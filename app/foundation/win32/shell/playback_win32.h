// Playback on Win32: MCI command strings through winmm, the scratch copy
// through kernel32, errors in a message box.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/foundation/playback_commands.h"

namespace corvella {
namespace shell {

class Win32MciPort : public foundation::MciPort {
public:
    // mciSendStringA without a notify window; status replies are read into a
    // 30-character buffer.
    uint32_t Send(const std::string& command, std::string* reply) override;
    // mciGetErrorStringA (128 characters).
    std::string ErrorText(uint32_t code) override;
};

class Win32PlaybackFiles : public foundation::PlaybackFiles {
public:
    // Errors are shown with `owner` as the message box's owner (may be
    // nullptr) and `title` as its caption ("": the program's title).
    explicit Win32PlaybackFiles(std::string title = std::string(), HWND owner = nullptr);

    // A file (not a folder) that a directory listing finds; names with
    // wildcards are never taken as found.
    bool Exists(const std::string& path) override;
    bool CopyOver(const std::string& from, const std::string& to) override;
    bool SetNormalAttributes(const std::string& path) override;
    std::string ShortPath(const std::string& path) override;
    // A message box with the critical icon, or the hook when one is set.
    void ShowError(const std::string& text) override;

    void SetOwner(HWND owner) { owner_ = owner; }
    // Replaces the message box (tests); an empty function restores it.
    void SetErrorHook(std::function<void(const std::string&)> hook) { hook_ = std::move(hook); }

private:
    std::string title_;
    HWND owner_;
    std::function<void(const std::string&)> hook_;
};

// The program's player: one MCI device, the scratch file "temp.mp3" in the
// program folder (or in `scratch_folder`).
class Win32Media {
public:
    Win32Media();
    explicit Win32Media(const std::string& scratch_folder);
    Win32Media(const Win32Media&) = delete;
    Win32Media& operator=(const Win32Media&) = delete;

    foundation::clsMedia& media() { return media_; }
    Win32PlaybackFiles& files() { return files_; }
    const std::string& ScratchPath() const { return media_.ScratchPath(); }
    // Stops playback and deletes the scratch copy (the main window, when it
    // closes). True when no copy is left.
    bool StopAndDeleteScratch();

private:
    Win32MciPort mci_;
    Win32PlaybackFiles files_;
    foundation::clsMedia media_;
};

// The program's one player, created on first use (user-interface thread).
Win32Media& gMedia();

}  // namespace shell
}  // namespace corvella
