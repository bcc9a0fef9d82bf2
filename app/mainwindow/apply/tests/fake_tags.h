// A pair of tag objects over fake files, for the apply's tests.
#pragma once

#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "app/mainwindow/apply/tag_apply.h"

namespace corvella {
namespace apply {
namespace fakes {

using Fields = std::map<int, std::string>;

// Both tag versions of every fake file; `locked` files cannot be written,
// `unreadable` ones cannot be read (their tags can still be written over),
// reading a `failing` one makes the object throw.
struct Disk {
    std::map<std::string, Fields> v1, v2;
    std::set<std::string> locked, unreadable, failing;
};

// One version's object, holding the tag read last like the library objects.
class FakeTag : public TagObject {
public:
    FakeTag(Disk& disk, bool v1) : disk_(disk), files_(v1 ? disk.v1 : disk.v2), count_(v1 ? 7 : 12) {}
    std::optional<std::string> FieldText(int i) override {
        if (i < 0 || i >= count_) return std::nullopt;
        return now.count(i) ? now[i] : std::string();
    }
    bool ReadTag(const std::string& path) override {
        if (disk_.failing.count(path)) throw std::runtime_error("The tag object failed.");
        now = files_.count(path) ? files_[path] : Fields();
        return !disk_.unreadable.count(path);
    }
    bool SetField(int i, const std::string& value) override {
        now[i] = value;
        return true;
    }
    bool WriteTag(const std::string& path) override {
        if (disk_.locked.count(path)) return false;
        files_[path] = now;
        return true;
    }
    bool RemoveTag(const std::string& path) override {
        if (disk_.locked.count(path)) return false;
        files_.erase(path);
        return true;
    }
    Fields now;

private:
    Disk& disk_;
    std::map<std::string, Fields>& files_;
    int count_;
};

}  // namespace fakes
}  // namespace apply
}  // namespace corvella
