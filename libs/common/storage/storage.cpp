#include "libs/common/storage/storage.h"

#include <algorithm>
#include <vector>

namespace corvella {

WritableGuard::WritableGuard(FileSystem& fs, const std::string& path)
    : fs_(fs), path_(path), saved_(fs.get_attributes(path)) {
    if (saved_ != kAttrInvalid && (saved_ & kAttrReadOnly)) fs_.set_attributes(path_, kAttrNormal);
}

WritableGuard::~WritableGuard() {
    if (saved_ != kAttrInvalid && (saved_ & kAttrReadOnly)) fs_.set_attributes(path_, saved_);
}

namespace {

// `path` with the first free numbered suffix; "" when none is free.
template <typename Exists>
std::string unused_name_beside(Exists exists, const std::string& path, const char* suffix) {
    for (unsigned n = 0; n < 10000; ++n) {
        std::string candidate = path + suffix + std::to_string(n);
        if (!exists(candidate)) return candidate;
    }
    return std::string();
}

}  // namespace

std::string scratch_name_beside(FileSystem& fs, const std::string& path) {
    // Same folder as the target, so the final replace is a rename on one volume.
    return unused_name_beside([&](const std::string& p) { return fs.exists(p); }, path, ".cvtmp");
}

// Windows 9x cannot replace a file in one step: MoveFileA will not overwrite
// and MoveFileExA is a stub that fails. So the old file is renamed aside,
// the new one takes its name, and only then is the old one deleted. A
// rename never rewrites data, so at every step both files are complete: the
// original name holds the old file up to the first rename and the new one
// from the second on; in between (two directory updates, nothing written)
// the old file is whole under the backup name beside it. A failed step puts
// the old file back under its name.
bool replace_by_renames(RenameSteps& steps, const std::string& from, const std::string& to) {
    if (!steps.exists(from) || !steps.exists(to)) return false;
    const std::string backup =
        unused_name_beside([&](const std::string& p) { return steps.exists(p); }, to, ".cvold");
    if (backup.empty() || !steps.move(to, backup)) return false;
    if (!steps.move(from, to)) {
        steps.move(backup, to);
        return false;
    }
    // The replace has happened; a backup that cannot go is only a spare copy.
    steps.remove(backup);
    return true;
}

bool replace_contents(FileSystem& fs, const std::string& path,
                      const std::string& head, uint64_t copy_from,
                      uint64_t copy_len) {
    uint32_t attrs = fs.get_attributes(path);
    // A read-only file is not replaced; callers that mean to write clear it.
    if (attrs == kAttrInvalid || (attrs & kAttrReadOnly)) return false;
    std::unique_ptr<File> src = fs.open(path, false);
    if (!src) return false;
    uint64_t src_size = 0;
    if (!src->size(src_size) || copy_from > src_size || copy_len > src_size - copy_from)
        return false;

    std::string scratch = scratch_name_beside(fs, path);
    if (scratch.empty()) return false;
    bool ok = false;
    {
        std::unique_ptr<File> dst = fs.create_new(scratch);
        if (!dst) return false;
        ok = head.empty() || dst->write_at(0, head.data(), head.size());
        std::vector<char> chunk(1 << 20);
        uint64_t done = 0;
        while (ok && done < copy_len) {
            size_t n = static_cast<size_t>(
                std::min<uint64_t>(chunk.size(), copy_len - done));
            ok = src->read_at(copy_from + done, chunk.data(), n) &&
                 dst->write_at(head.size() + done, chunk.data(), n);
            done += n;
        }
        ok = ok && dst->flush();
    }
    src.reset();
    if (ok) {
        // The new file takes the old one's attributes before it takes its place.
        ok = fs.set_attributes(scratch, attrs == 0 ? kAttrNormal : attrs) &&
             fs.replace(scratch, path);
    }
    if (!ok) fs.remove(scratch);
    return ok;
}

bool write_whole_file(FileSystem& fs, const std::string& path, const std::string& bytes) {
    if (fs.exists(path)) return replace_contents(fs, path, bytes, 0, 0);
    bool ok = false;
    {
        std::unique_ptr<File> file = fs.create_new(path);
        if (!file) return false;
        ok = (bytes.empty() || file->write_at(0, bytes.data(), bytes.size())) && file->flush();
    }
    if (!ok) fs.remove(path);
    return ok;
}

}  // namespace corvella
