// File access used by the tag libraries' portable core.
//
// The core never includes windows.h: it reads and rewrites files through this
// small interface. The Win32 shell supplies an implementation over kernel32
// (attributes, cluster size, replace in one step); native builds use a POSIX
// one so the same code runs under the sanitizers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace corvella {

// Win32 attribute bits the core needs to know by value.
constexpr uint32_t kAttrReadOnly = 0x01;
constexpr uint32_t kAttrNormal = 0x80;
constexpr uint32_t kAttrInvalid = 0xFFFFFFFFu;

class File {
public:
    virtual ~File() = default;
    // Reads exactly n bytes at off; false when fewer are there or on error.
    virtual bool read_at(uint64_t off, void* buf, size_t n) = 0;
    // Writes exactly n bytes at off, growing the file when needed.
    virtual bool write_at(uint64_t off, const void* buf, size_t n) = 0;
    virtual bool size(uint64_t& out) = 0;
    // Cuts the file to n bytes.
    virtual bool truncate(uint64_t n) = 0;
    // Pushes written data to the disk before a replace.
    virtual bool flush() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // True for files and folders alike (as GetFileAttributesA != -1).
    virtual bool exists(const std::string& path) = 0;
    // Opens an existing file; nullptr on failure.
    virtual std::unique_ptr<File> open(const std::string& path, bool writable) = 0;
    // Creates a new empty file; fails when the path already exists.
    virtual std::unique_ptr<File> create_new(const std::string& path) = 0;
    virtual uint32_t get_attributes(const std::string& path) = 0;  // kAttrInvalid on failure
    virtual bool set_attributes(const std::string& path, uint32_t attrs) = 0;
    // Puts `from` in the place of `to` in one step; `to` must exist.
    virtual bool replace(const std::string& from, const std::string& to) = 0;
    virtual bool remove(const std::string& path) = 0;
    // Bytes per cluster of the volume whose root is given; 0 when unknown.
    virtual uint32_t cluster_size(const std::string& root) = 0;
};

// The implementation for the platform being built (POSIX natively, Win32
// under mingw). Lives as long as the process.
FileSystem& platform_filesystem();

// The three steps a replace takes where the system has no replace in one.
class RenameSteps {
public:
    virtual ~RenameSteps() = default;
    virtual bool exists(const std::string& path) = 0;
    // Renames; fails when `to` exists (MoveFileA).
    virtual bool move(const std::string& from, const std::string& to) = 0;
    // Deletes the file whatever its attributes.
    virtual bool remove(const std::string& path) = 0;
};

// The platform's steps (kernel32's under mingw).
RenameSteps& platform_rename_steps();

// Puts `from` in the place of the existing `to` by renames alone: what
// FileSystem::replace does on Windows 9x. False, with both files as they
// were, when a step fails.
bool replace_by_renames(RenameSteps& steps, const std::string& from, const std::string& to);

// Makes a file writable for the life of the guard and gives it back its
// attributes afterwards. Only a read-only file is touched: clearing every
// attribute of a writable file and setting it back would change nothing but
// cost two calls a file in every batch.
class WritableGuard {
public:
    WritableGuard(FileSystem& fs, const std::string& path);
    ~WritableGuard();
    WritableGuard(const WritableGuard&) = delete;
    WritableGuard& operator=(const WritableGuard&) = delete;
    // False when the path does not exist.
    bool found() const { return saved_ != kAttrInvalid; }

private:
    FileSystem& fs_;
    std::string path_;
    uint32_t saved_;
};

// A name for a scratch file in the same folder as `path`, not yet existing,
// so that a replace stays on one volume.
std::string scratch_name_beside(FileSystem& fs, const std::string& path);

// Writes `head` followed by the bytes [copy_from, copy_from + copy_len) of
// the current `path` to a scratch file beside it, then puts the scratch file
// in the place of `path` in one step, with the attributes `path` had (a
// read-only `path` is refused). On any
// failure the original is untouched, the scratch file is gone and false is
// returned. The copied range is streamed, never held whole in memory.
bool replace_contents(FileSystem& fs, const std::string& path,
                      const std::string& head, uint64_t copy_from,
                      uint64_t copy_len);

// Writes `bytes` as the whole file `path`, replacing an old one only by a
// complete new one (replace_contents: a scratch file beside it, put in its
// place when whole, with its attributes; a read-only one is refused). A
// write that fails, on a full disk say, leaves an old file as it was, and
// neither a scratch file nor a cut-short new one behind.
bool write_whole_file(FileSystem& fs, const std::string& path, const std::string& bytes);

}  // namespace corvella
