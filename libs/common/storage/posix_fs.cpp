// Native stand-in for the Win32 file system, used by the portable tests.
// The read-only attribute maps to the owner's write permission.
#include "libs/common/storage/storage.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <cstdio>

namespace corvella {
namespace {

class PosixFile : public File {
public:
    explicit PosixFile(int fd) : fd_(fd) {}
    ~PosixFile() override { ::close(fd_); }
    bool read_at(uint64_t off, void* buf, size_t n) override {
        char* p = static_cast<char*>(buf);
        while (n > 0) {
            ssize_t r = ::pread(fd_, p, n, static_cast<off_t>(off));
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) return false;
            p += r; off += static_cast<uint64_t>(r); n -= static_cast<size_t>(r);
        }
        return true;
    }
    bool write_at(uint64_t off, const void* buf, size_t n) override {
        const char* p = static_cast<const char*>(buf);
        while (n > 0) {
            ssize_t r = ::pwrite(fd_, p, n, static_cast<off_t>(off));
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) return false;
            p += r; off += static_cast<uint64_t>(r); n -= static_cast<size_t>(r);
        }
        return true;
    }
    bool size(uint64_t& out) override {
        struct stat st;
        if (::fstat(fd_, &st) != 0) return false;
        out = static_cast<uint64_t>(st.st_size);
        return true;
    }
    bool truncate(uint64_t n) override { return ::ftruncate(fd_, static_cast<off_t>(n)) == 0; }
    bool flush() override { return ::fsync(fd_) == 0 || errno == EINVAL; }

private:
    int fd_;
};

class PosixFileSystem : public FileSystem {
public:
    bool exists(const std::string& path) override {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0;
    }
    std::unique_ptr<File> open(const std::string& path, bool writable) override {
        int fd = ::open(path.c_str(), writable ? O_RDWR : O_RDONLY);
        if (fd < 0) return nullptr;
        struct stat st;
        // Root ignores permission bits; honour the read-only attribute anyway.
        if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) || (writable && !(st.st_mode & S_IWUSR))) {
            ::close(fd);
            return nullptr;
        }
        return std::unique_ptr<File>(new PosixFile(fd));
    }
    std::unique_ptr<File> create_new(const std::string& path) override {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0644);
        if (fd < 0) return nullptr;
        return std::unique_ptr<File>(new PosixFile(fd));
    }
    uint32_t get_attributes(const std::string& path) override {
        struct stat st;
        if (::stat(path.c_str(), &st) != 0) return kAttrInvalid;
        if (S_ISDIR(st.st_mode)) return 0x10;
        return (st.st_mode & S_IWUSR) ? kAttrNormal : kAttrReadOnly;
    }
    bool set_attributes(const std::string& path, uint32_t attrs) override {
        struct stat st;
        if (::stat(path.c_str(), &st) != 0) return false;
        mode_t m = st.st_mode & 07777;
        m = (attrs & kAttrReadOnly) ? (m & ~S_IWUSR) : (m | S_IWUSR);
        return ::chmod(path.c_str(), m) == 0;
    }
    bool replace(const std::string& from, const std::string& to) override {
        // Mirror Windows: a read-only target is not replaced.
        if (get_attributes(to) & kAttrReadOnly) return false;
        return ::rename(from.c_str(), to.c_str()) == 0;
    }
    bool remove(const std::string& path) override {
        if (get_attributes(path) & kAttrReadOnly) return false;
        return ::unlink(path.c_str()) == 0;
    }
    uint32_t cluster_size(const std::string& root) override {
        struct statvfs sv;
        if (::statvfs(root.c_str(), &sv) != 0) return 0;
        return static_cast<uint32_t>(sv.f_bsize);
    }
};

class PosixRenameSteps : public RenameSteps {
public:
    bool exists(const std::string& path) override {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0;
    }
    // link and unlink: a rename that, like MoveFileA, never overwrites.
    bool move(const std::string& from, const std::string& to) override {
        return ::link(from.c_str(), to.c_str()) == 0 && ::unlink(from.c_str()) == 0;
    }
    bool remove(const std::string& path) override { return ::unlink(path.c_str()) == 0; }
};

}  // namespace

FileSystem& platform_filesystem() {
    static PosixFileSystem fs;
    return fs;
}

RenameSteps& platform_rename_steps() {
    static PosixRenameSteps steps;
    return steps;
}

}  // namespace corvella
