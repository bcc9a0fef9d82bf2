#include "libs/tags/interop/tests/peer.h"

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <sys/wait.h>

namespace interop {
namespace {

const char kPython[] = "/usr/bin/python3";

std::string ShellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs the peer with `args`; its standard error goes to the test's.
bool RunPeer(const std::vector<std::string>& args, std::string& out, int& status) {
    std::string cmd = std::string(kPython) + " " + ShellQuote(CORVELLA_MUTAGEN_PEER);
    for (const std::string& a : args) cmd += " " + ShellQuote(a);
    out.clear();
    std::fflush(nullptr);
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return false;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    status = ::pclose(p);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> parts(1);
    for (char c : line) {
        if (c == '\t') parts.emplace_back();
        else parts.back().push_back(c);
    }
    return parts;
}

std::string Printable(const std::string& s, size_t limit = 80) {
    std::string out;
    for (unsigned char c : s) {
        if (out.size() >= limit) return out + "...";
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            char b[8];
            std::snprintf(b, sizeof b, "\\x%02X", c);
            out += b;
        }
    }
    return out;
}

}  // namespace

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out.push_back(digits[c >> 4]);
        out.push_back(digits[c & 15]);
    }
    return out;
}

std::string Unhex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return out;
}

// PeerView

const PeerFrame* PeerView::Find(const std::string& key) const {
    for (const PeerFrame& f : frames)
        if (f.key == key) return &f;
    return nullptr;
}

const PeerFrame* PeerView::First(const std::string& id) const {
    for (const PeerFrame& f : frames)
        if (f.key.compare(0, 4, id) == 0 && (f.key.size() == 4 || f.key[4] == ':')) return &f;
    return nullptr;
}

std::string PeerView::Text(const std::string& id) const {
    const PeerFrame* f = First(id);
    return f ? f->text : std::string();
}

std::string PeerView::V1(const std::string& name) const {
    auto it = v1fields.find(name);
    return it == v1fields.end() ? std::string() : it->second;
}

// Running the peer

bool PeerAvailable(std::string& why) {
    static int known = -1;  // one check a run: every case asks
    static std::string reason;
    if (known < 0) {
        std::string out;
        int status = 0;
        if (::access(kPython, X_OK) != 0) {
            reason = std::string(kPython) + " is missing";
        } else if (!RunPeer({"check"}, out, status)) {
            reason = "mutagen cannot be imported by " + std::string(kPython);
        }
        known = reason.empty() ? 1 : 0;
    }
    why = reason;
    return known == 1;
}

PeerView PeerDump(const std::string& path) {
    PeerView view;
    std::string out;
    int status = 0;
    if (!RunPeer({"dump", path}, out, status)) {
        ADD_FAILURE() << "peer could not read " << path << " (status " << status << ")";
        return view;
    }
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        const std::vector<std::string> f = SplitTabs(line);
        if (f[0] == "v2" && f.size() == 2) {
            view.v2 = f[1] == "none" ? 0 : std::stoi(f[1]);
        } else if (f[0] == "frame" && f.size() == 4) {
            view.frames.push_back(PeerFrame{f[1], Unhex(f[2]), f[3]});
        } else if (f[0] == "layout" && f.size() == 2) {
            if (f[1] != "ok") ADD_FAILURE() << path << ": the tag does not line up: " << f[1];
        } else if (f[0] == "raw" && f.size() == 4) {
            view.raw.push_back(RawFrame{f[1], f[2], f[3]});
        } else if (f[0] == "v1" && f.size() == 2) {
            view.v1 = f[1] == "present";
        } else if (f[0] == "v1field" && f.size() == 3) {
            view.v1fields[f[1]] = Unhex(f[2]);
        } else {
            ADD_FAILURE() << "unexpected peer output: " << line;
        }
    }
    if (view.raw.size() != view.frames.size())
        ADD_FAILURE() << path << ": " << view.raw.size() << " frames stored, mutagen reads "
                      << view.frames.size();
    return view;
}

::testing::AssertionResult PeerWrite(const std::string& path, const std::vector<std::string>& args) {
    std::vector<std::string> all = {"write", path};
    all.insert(all.end(), args.begin(), args.end());
    std::string out;
    int status = 0;
    if (RunPeer(all, out, status)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "peer could not write " << path << " (status " << status
                                         << "): " << out;
}

::testing::AssertionResult OnlyChanged(const PeerView& before, const PeerView& after,
                                       const std::string& key, const std::string& text) {
    constexpr size_t kAdded = static_cast<size_t>(-1);
    std::vector<size_t> expected;  // positions in `before`, kAdded for the new frame
    bool seen = false;
    for (size_t i = 0; i < before.frames.size(); ++i) {
        if (before.frames[i].key == key) {
            seen = true;
            if (text.empty()) continue;
        }
        expected.push_back(i);
    }
    if (!seen && !text.empty()) expected.push_back(kAdded);

    if (after.v2 != before.v2)
        return ::testing::AssertionFailure() << "version " << before.v2 << " became " << after.v2;
    if (after.frames.size() != expected.size() || after.raw.size() != expected.size()) {
        auto failure = ::testing::AssertionFailure()
                       << expected.size() << " frames expected, " << after.frames.size() << " read:";
        for (const PeerFrame& f : after.frames) failure << "\n  " << f.key;
        return failure;
    }
    for (size_t i = 0; i < expected.size(); ++i) {
        const PeerFrame& got = after.frames[i];
        const std::string want_key = expected[i] == kAdded ? key : before.frames[expected[i]].key;
        if (got.key != want_key)
            return ::testing::AssertionFailure() << "frame " << i << " is " << got.key << ", not " << want_key;
        if (want_key == key) {
            if (got.text != text)
                return ::testing::AssertionFailure() << key << " reads \"" << Printable(got.text)
                                                     << "\", not \"" << Printable(text) << "\"";
            continue;
        }
        const PeerFrame& want = before.frames[expected[i]];
        if (got.repr != want.repr)
            return ::testing::AssertionFailure() << want.key << " changed:\n  before " << want.repr
                                                 << "\n  after  " << got.repr;
        const RawFrame& was = before.raw[expected[i]];
        const RawFrame& is = after.raw[i];
        if (!(was == is))
            return ::testing::AssertionFailure() << want.key << " stored differently: flags " << was.flags
                                                 << " -> " << is.flags << ", body " << was.body_sha1
                                                 << " -> " << is.body_sha1;
    }
    return ::testing::AssertionSuccess();
}

// Files

ScratchDir::ScratchDir() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("corvella_interop_" + std::to_string(::getpid()) + "_" + std::to_string(stamp) + "_" +
             std::to_string(counter++));
    std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string MpegAudio(size_t frames, uint32_t seed) {
    std::mt19937 rng(seed);
    std::string out;
    for (size_t i = 0; i < frames; ++i) {
        out += std::string("\xFF\xFB\x90\x64", 4);
        for (int k = 0; k < 417 - 4; ++k) out.push_back(static_cast<char>(rng() & 0xFF));
    }
    return out;
}

std::string ArbitraryAudio(size_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    std::string out;
    for (size_t i = 0; i < n; ++i) out.push_back(static_cast<char>(rng() & 0xFF));
    if (!out.empty() && static_cast<unsigned char>(out[0]) == 0xFF) out[0] = '\x7F';
    return out;
}

size_t TagEnd(const std::string& file) {
    if (file.size() < 10 || file.compare(0, 3, "ID3") != 0) return 0;
    size_t size = 0;
    for (int i = 6; i < 10; ++i) size = (size << 7) | (static_cast<unsigned char>(file[i]) & 0x7F);
    const bool footer = file[3] == 4 && (file[5] & 0x10);
    return 10 + size + (footer ? 10 : 0);
}

::testing::AssertionResult TagThenExactly(const std::string& file, const std::string& tail) {
    const size_t end = TagEnd(file);
    if (end > file.size())
        return ::testing::AssertionFailure() << "the tag claims " << end << " bytes of a " << file.size()
                                             << "-byte file";
    if (file.size() - end != tail.size())
        return ::testing::AssertionFailure() << (file.size() - end) << " bytes after the tag, "
                                             << tail.size() << " expected";
    for (size_t i = 0; i < tail.size(); ++i)
        if (file[end + i] != tail[i])
            return ::testing::AssertionFailure() << "byte " << i << " after the tag differs";
    return ::testing::AssertionSuccess();
}

// Fixture

void InteropTest::SetUp() {
    std::string why;
    if (!PeerAvailable(why)) GTEST_SKIP() << why;
    audio_ = GetParam() == AudioKind::Mpeg ? MpegAudio(12, 1234) : ArbitraryAudio(4099, 5678);
}

std::string InteropTest::NewFile(const std::string& name, const std::string& contents) const {
    const std::string path = dir_.Path(name);
    WriteAll(path, contents);
    return path;
}

std::string AudioKindName(const ::testing::TestParamInfo<AudioKind>& info) {
    return info.param == AudioKind::Mpeg ? "Mpeg" : "Arbitrary";
}

}  // namespace interop
