// clsFileIo: writes (and reads) a file straight through the system's file
// handle calls. One object per file; its user closes the file before
// letting the object go.
#pragma once

#include <windows.h>

#include <string>

namespace corvella::cdrip {

class clsFileIo {
public:
    clsFileIo() = default;
    clsFileIo(const clsFileIo&) = delete;
    clsFileIo& operator=(const clsFileIo&) = delete;

    // Opens for reading and writing, unshared, created when missing; writing
    // starts at the beginning. False (and closed) when it cannot.
    bool OpenFile(const std::string& path);
    // False when nothing is open.
    bool CloseFile();
    bool WriteBytes(const void* bytes, DWORD count);
    bool FlushBuffers();
    // Reads up to `count` bytes; *result is the call's result, 0 when closed.
    void ReadBytes(void* buffer, DWORD count, BOOL* result);
    // The 44-byte header of CD audio at the current position, flushed.
    bool writeWavHeader(DWORD dataLength);

    bool IsOpen() const { return !path_.empty() && handle_ != INVALID_HANDLE_VALUE; }
    DWORD BytesMoved() const { return moved_; }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    DWORD moved_ = 0;
    std::string path_;
};

}  // namespace corvella::cdrip
