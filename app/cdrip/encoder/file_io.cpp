#include "app/cdrip/encoder/file_io.h"

#include "app/cdrip/core/wav_header.h"

namespace corvella::cdrip {

bool clsFileIo::OpenFile(const std::string& path) {
    if (IsOpen()) CloseFile();
    handle_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
        path_.clear();
        return false;
    }
    path_ = path;
    return true;
}

bool clsFileIo::CloseFile() {
    if (!IsOpen()) return false;
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    path_.clear();
    return true;
}

bool clsFileIo::WriteBytes(const void* bytes, DWORD count) {
    if (!IsOpen()) return false;
    moved_ = 0;
    const BOOL written = WriteFile(handle_, bytes, count, &moved_, nullptr);
    // A full disk writes less than asked: that is a failed write too.
    return written && moved_ == count;
}

bool clsFileIo::FlushBuffers() { return IsOpen() && FlushFileBuffers(handle_); }

void clsFileIo::ReadBytes(void* buffer, DWORD count, BOOL* result) {
    *result = FALSE;
    if (!IsOpen()) return;
    moved_ = 0;
    *result = ReadFile(handle_, buffer, count, &moved_, nullptr);
}

bool clsFileIo::writeWavHeader(DWORD dataLength) {
    const auto header = MakeWavHeader(dataLength);
    return WriteBytes(header.data(), DWORD(header.size())) && FlushBuffers();
}

}  // namespace corvella::cdrip
