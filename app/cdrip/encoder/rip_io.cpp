#include "app/cdrip/encoder/rip_io.h"

#include <cstring>

#include "app/cdrip/drive/cd_drive.h"
#include "app/foundation/files/win32/win32_file_ops.h"
#include "app/foundation/paths.h"

namespace corvella::cdrip {
namespace {

constexpr DWORD kRoom = kBlockFrames * cdaudio::kFrameBytes;  // 61,152

std::string FolderOf(const std::string& path) {
    const std::string folder = GetFolderPath(path);
    return folder.empty() ? std::string(".") : folder;
}

}  // namespace

std::string SystemErrorText(DWORD code) {
    char text[512] = {};
    if (!FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                        sizeof text, nullptr))
        return "Error " + std::to_string(code);
    std::string s(text);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.')) s.pop_back();
    return s;
}

DriveSource::DriveSource()
    : memory_(GlobalAlloc(GMEM_ZEROINIT, sizeof(cdaudio::TRACKBUF) + kRoom)),
      buffer_(static_cast<cdaudio::TRACKBUF*>(memory_)) {}

DriveSource::~DriveSource() {
    if (memory_) GlobalFree(memory_);
}

bool DriveSource::Read(uint32_t start, uint32_t count, uint8_t* audio, uint32_t* bytes) {
    *bytes = 0;
    if (!buffer_ || count > kBlockFrames) return false;
    *buffer_ = cdaudio::TRACKBUF{start, count, kRoom, 0, 0, 0};
    if (ReadCDAudioLBA(uint8_t(CDHandle), buffer_) != 1) return false;
    *bytes = buffer_->len <= kRoom ? buffer_->len : kRoom;
    std::memcpy(audio, reinterpret_cast<uint8_t*>(buffer_) + sizeof(cdaudio::TRACKBUF), *bytes);
    return true;
}

std::string DriveSource::ErrorText() { return AKRipErrorText(); }

bool LameStream::Load(std::string* why, const std::string& folder) {
    if (dll_) return true;
    std::string dir = folder;
    if (!dir.empty() && dir.back() != '\\') dir += '\\';
    const std::string path = dir + "lame_enc.dll";
    // No dialog of the system's for a missing or broken file: the caller says it.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    dll_ = LoadLibraryA(path.c_str());
    const DWORD error = GetLastError();
    SetErrorMode(oldMode);
    if (!dll_) {
        *why = "The MP3 encoder " + path + " could not be loaded: " + SystemErrorText(error);
        return false;
    }
    init_ = reinterpret_cast<InitFn>(GetProcAddress(dll_, "beInitStream"));
    encode_ = reinterpret_cast<EncodeFn>(GetProcAddress(dll_, "beEncodeChunk"));
    deinit_ = reinterpret_cast<DeinitFn>(GetProcAddress(dll_, "beDeinitStream"));
    close_ = reinterpret_cast<CloseFn>(GetProcAddress(dll_, "beCloseStream"));
    header_ = reinterpret_cast<HeaderFn>(GetProcAddress(dll_, "beWriteVBRHeader"));
    if (!init_ || !encode_ || !deinit_ || !close_ || !header_) {
        FreeLibrary(dll_);
        dll_ = nullptr;
        *why = "The MP3 encoder " + path + " lacks its stream calls.";
        return false;
    }
    return true;
}

LameStream::~LameStream() {
    if (dll_) FreeLibrary(dll_);
}

int LameStream::Init(BE_CONFIG* config, uint32_t* bufferSize) {
    DWORD samples = 0, size = 0;
    stream_ = 0;
    const int code = int(init_(config, &samples, &size, &stream_));
    *bufferSize = size;
    return code;
}

int LameStream::Encode(uint32_t samples, int16_t* pcm, uint8_t* out, uint32_t* produced) {
    DWORD n = 0;
    const int code = int(encode_(stream_, samples, pcm, out, &n));
    *produced = n;
    return code;
}

int LameStream::Deinit(uint8_t* out, uint32_t* produced) {
    DWORD n = 0;
    const int code = int(deinit_(stream_, out, &n));
    *produced = n;
    return code;
}

int LameStream::Close() { return int(close_(stream_)); }

int LameStream::WriteVbrHeader(const std::string& path) { return int(header_(path.c_str())); }

bool TempTrackFile::Create(const std::string& target, std::string* why) {
    char temp[MAX_PATH] = {};
    if (!GetTempFileNameA(FolderOf(target).c_str(), "crv", 0, temp)) {
        *why = "Could not create a file in " + FolderOf(target) + ": " + SystemErrorText(GetLastError());
        return false;
    }
    temp_ = temp;
    target_ = target;
    if (!io_.OpenFile(temp_)) {
        *why = "Could not open " + temp_ + ": " + SystemErrorText(GetLastError());
        DeleteFileA(temp_.c_str());
        temp_.clear();
        return false;
    }
    return true;
}

bool TempTrackFile::Place(std::string* placed, std::string* why) {
    io_.CloseFile();
    // The move never replaces: a taken name (a file of an earlier rip, or
    // one made meanwhile) sends the track to the next free name.
    const std::string stem = GetFileTitle(target_, false);
    const std::string ext = GetFileTitle(target_, true).substr(stem.size());
    const files::MoveResult r = files::SystemFiles().MoveToFreeName(temp_, GetFolderPath(target_), stem, ext, placed);
    if (r != files::MoveResult::Done) {
        *why = "Could not write " + target_ + ": " + files::ReasonText(r);
        return false;
    }
    temp_.clear();
    return true;
}

bool TempTrackFile::Write(const uint8_t* bytes, uint32_t count) {
    SetLastError(0);
    if (io_.WriteBytes(bytes, count)) return true;
    // A write that took fewer bytes than asked leaves no error code: the disk is full.
    const DWORD code = GetLastError();
    error_ = code && io_.BytesMoved() == 0 ? code : ERROR_DISK_FULL;
    if (!io_.IsOpen()) error_ = ERROR_INVALID_HANDLE;
    return false;
}

bool TempTrackFile::Noted(bool ok) {
    if (!ok) error_ = GetLastError();
    return ok;
}

void TempTrackFile::Discard() {
    io_.CloseFile();
    if (!temp_.empty()) DeleteFileA(temp_.c_str());
    temp_.clear();
}

}  // namespace corvella::cdrip
