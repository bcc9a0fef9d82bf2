// The run's drive, encoder and file over the real ones: cdaudio.dll through
// the CD layer, lame_enc.dll loaded by full path from the program's folder,
// and a temporary file beside the target that takes its name, or a free
// one, through the file service.
#pragma once

#include <windows.h>

#include <string>

#include "app/cdrip/core/rip_track.h"
#include "app/cdrip/encoder/file_io.h"
#include "platform/forms/runtime.h"

namespace corvella::cdrip {

// The system's text for an error code, without its line break.
std::string SystemErrorText(DWORD code);

// The open drive (CDHandle), read into one fixed block (a TRACKBUF and room
// for 26 frames) allocated once.
class DriveSource : public AudioSource {
public:
    DriveSource();
    ~DriveSource() override;
    bool Read(uint32_t start, uint32_t count, uint8_t* audio, uint32_t* bytes) override;
    std::string ErrorText() override;

private:
    HGLOBAL memory_;
    cdaudio::TRACKBUF* buffer_;
};

// lame_enc.dll's stream calls.
class LameStream : public EncoderStream {
public:
    LameStream() = default;
    ~LameStream() override;
    // Loads the DLL from `folder` (the program's, by default), leaving the
    // current folder as it is; false with the reason when it cannot.
    bool Load(std::string* why, const std::string& folder = forms::App.Path());
    int Init(BE_CONFIG* config, uint32_t* bufferSize) override;
    int Encode(uint32_t samples, int16_t* pcm, uint8_t* out, uint32_t* produced) override;
    int Deinit(uint8_t* out, uint32_t* produced) override;
    int Close() override;
    int WriteVbrHeader(const std::string& path) override;

private:
    using InitFn = DWORD(__cdecl*)(BE_CONFIG*, DWORD*, DWORD*, DWORD*);
    using EncodeFn = DWORD(__cdecl*)(DWORD, DWORD, short*, BYTE*, DWORD*);
    using DeinitFn = DWORD(__cdecl*)(DWORD, BYTE*, DWORD*);
    using CloseFn = DWORD(__cdecl*)(DWORD);
    using HeaderFn = DWORD(__cdecl*)(const char*);
    HMODULE dll_ = nullptr;
    InitFn init_ = nullptr;
    EncodeFn encode_ = nullptr;
    DeinitFn deinit_ = nullptr;
    CloseFn close_ = nullptr;
    HeaderFn header_ = nullptr;
    DWORD stream_ = 0;
};

// A fresh temporary file (GetTempFileNameA) in the target's folder.
class TempTrackFile : public TrackFile {
public:
    ~TempTrackFile() override { Discard(); }
    bool Create(const std::string& target, std::string* why) override;
    bool Write(const uint8_t* bytes, uint32_t count) override;
    bool Flush() override { return Noted(io_.FlushBuffers()); }
    bool Close() override { return Noted(io_.CloseFile()); }
    const std::string& TempPath() const override { return temp_; }
    bool Place(std::string* placed, std::string* why) override;
    void Discard() override;
    std::string WriteError() const override { return error_ ? SystemErrorText(error_) : ""; }

private:
    bool Noted(bool ok);
    clsFileIo io_;
    DWORD error_ = 0;
    std::string target_, temp_;
};


}  // namespace corvella::cdrip
