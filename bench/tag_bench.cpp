// Reading and in-place writing of tags against the bare minimum of file work
// for the same files. Natively through the cores; under Wine through the
// registered COM libraries, as the program calls them.
//   tag_bench [files]
#include "libs/tags/ID3v1/core/id3v1_tag.h"
#include "libs/tags/ID3v2/core/id3v2_tag.h"
#include "libs/common/storage/storage.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#ifdef _WIN32
#include "app/foundation/tags/win32/testing/tag_objects.h"
#include <oleauto.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

std::string AudioBytes(size_t n, unsigned seed) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
    s[0] = '\xFF';
    s[1] = '\xFB';
    return s;
}

// The bare minimum: open, the first 10 bytes, the last 128, close.
bool BareRead(const std::string& path) {
    char head[10], tail[128];
#ifdef _WIN32
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD got = 0;
    BOOL ok = ReadFile(h, head, 10, &got, nullptr);
    // SetFilePointer: Windows 95 and NT 4 have no SetFilePointerEx.
    ok = ok && SetFilePointer(h, -128, nullptr, FILE_END) != INVALID_SET_FILE_POINTER &&
         ReadFile(h, tail, 128, &got, nullptr);
    CloseHandle(h);
    return ok;
#else
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return false;
    bool ok = ::pread(fd, head, 10, 0) == 10;
    off_t end = ::lseek(fd, 0, SEEK_END);
    ok = ok && ::pread(fd, tail, 128, end - 128) == 128;
    ::close(fd);
    return ok;
#endif
}

// Rewriting the same header bytes a fitting write puts down.
bool BareWrite(const std::string& path, const std::string& bytes) {
#ifdef _WIN32
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(h);
    return ok;
#else
    int fd = ::open(path.c_str(), O_RDWR);
    if (fd < 0) return false;
    bool ok = ::pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size());
    ::close(fd);
    return ok;
#endif
}

#ifdef _WIN32
struct Com {
    corvella::tags::testing::TagObjects objects;
    _CID3v1* v1 = nullptr;
    _CID3v2* v2 = nullptr;
    Com() {
        CoInitialize(nullptr);
        objects.Create();
        v1 = objects.V1();
        v2 = objects.V2();
    }
    ~Com() {
        objects.Release();
        CoUninitialize();
    }
    bool ReadBoth(const std::string& path) {
        BSTR b = Bstr(path);
        VARIANT_BOOL ok1 = 0, ok2 = 0;
        v1->ReadTag(b, &ok1);
        for (int f = 0; f < 7; ++f) {
            VARIANT v;
            v1->GetFieldValue(static_cast<lumbrel::EFields>(f), &v);
            VariantClear(&v);
        }
        v2->ReadTag(&b, &ok2);
        for (int f = 0; f < 12; ++f) {
            BSTR s = nullptr;
            v2->GetFrameValue(static_cast<tesselor::EFrames>(f), &s);
            SysFreeString(s);
        }
        SysFreeString(b);
        return ok1 && ok2;
    }
    // Loads the tag of `path` and changes its title, ready to be written.
    void Prepare(const std::string& path, const wchar_t* title) {
        BSTR b = Bstr(path), t = SysAllocString(title), r = nullptr;
        VARIANT_BOOL ok = 0;
        v2->ReadTag(&b, &ok);
        v2->SetFrameValue(tesselor::Title, t, &r);
        SysFreeString(r);
        SysFreeString(t);
        SysFreeString(b);
    }
    bool Write(const std::string& path) {
        BSTR b = Bstr(path);
        VARIANT_BOOL ok = 0;
        v2->WriteTag(&b, &ok);
        SysFreeString(b);
        return ok;
    }
    static BSTR Bstr(const std::string& path) {
        BSTR b = SysAllocStringLen(nullptr, static_cast<UINT>(path.size()));
        MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), b, static_cast<int>(path.size()));
        return b;
    }
};
#endif

}  // namespace

int main(int argc, char** argv) {
    int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    corvella::FileSystem& files = corvella::platform_filesystem();
    fs::path dir = fs::temp_directory_path() / "corvella_tag_bench";
    fs::remove_all(dir);
    fs::create_directories(dir);

    // Generate the files: audio, an ID3v2 tag in front, an ID3v1 tag behind.
    std::vector<std::string> paths;
    paths.reserve(static_cast<size_t>(count));
    {
        corvella::id3v2::CID3v2Tag v2;
        corvella::id3v1::CID3v1Tag v1;
        const char* values[] = {"Title", "Artist", "Album", "2001", "A comment of some length", "Rock",
                                "3/12", "Composer", "Original", "(C) Someone", "http://example.invalid/",
                                "Encoder"};
        for (int f = 0; f < 12; ++f) v2.SetFrameValue(f, values[f]);
        for (int f = 0; f < 7; ++f) v1.SetFieldValue(f, corvella::id3v1::FieldValue::Str(values[f]));
        std::string tag;
        v2.RenderTag(512, tag);
        for (int i = 0; i < count; ++i) {
            std::string p = (dir / ("f" + std::to_string(i) + ".mp3")).string();
            std::FILE* f = std::fopen(p.c_str(), "wb");
            std::string audio = AudioBytes(4096, static_cast<unsigned>(i) + 1);
            std::fwrite(tag.data(), 1, tag.size(), f);
            std::fwrite(audio.data(), 1, audio.size(), f);
            std::fclose(f);
            v1.WriteTag(files, p);
            paths.push_back(p);
        }
    }

#ifdef _WIN32
    Com com;
    if (!com.v1 || !com.v2) {
        std::printf("the tag libraries are not registered\n");
        return 1;
    }
    auto read_both = [&](const std::string& p) { return com.ReadBoth(p); };
    const char* how = "DLLs under Wine";
#else
    corvella::id3v1::CID3v1Tag v1;
    corvella::id3v2::CID3v2Tag v2;
    auto read_both = [&](const std::string& p) {
        bool ok = v1.ReadTag(files, p);
        for (int f = 0; f < 7; ++f) v1.GetFieldValue(f);
        ok = v2.ReadTag(files, p) && ok;
        for (int f = 0; f < 12; ++f) v2.GetFrameValue(f);
        return ok;
    };
    const char* how = "core, native";
#endif

    // Warm the cache once, then alternate the two passes to even out drift.
    for (const auto& p : paths) BareRead(p);
    double bare = 0, tags = 0;
    int bad = 0;
    for (int round = 0; round < 3; ++round) {
        auto t0 = Clock::now();
        for (const auto& p : paths) bad += !BareRead(p);
        auto t1 = Clock::now();
        for (const auto& p : paths) bad += !read_both(p);
        auto t2 = Clock::now();
        bare += Seconds(t0, t1);
        tags += Seconds(t1, t2);
    }
    double n = 3.0 * count;

    // In-place write of a short change against rewriting the same header bytes.
    corvella::id3v2::CID3v2Tag probe;
    probe.ReadTag(files, paths[0]);
    std::string header;
    {
        std::FILE* f = std::fopen(paths[0].c_str(), "rb");
        header.resize(10);
        std::fread(&header[0], 1, 10, f);
        const uint32_t size = corvella::id3v2::FromSyncsafe(reinterpret_cast<const uint8_t*>(header.data()) + 6);
        header.resize(10 + size);
        std::fseek(f, 0, SEEK_SET);
        std::fread(&header[0], 1, header.size(), f);
        std::fclose(f);
    }
    // Every file carries the same tag, so one object read from the first file
    // and given a shorter title fits each of them in place.
    int writes = count;
#ifdef _WIN32
    com.Prepare(paths[0], L"Short");
    auto write_tag = [&](const std::string& p) { return com.Write(p); };
#else
    corvella::id3v2::CID3v2Tag writer;
    writer.ReadTag(files, paths[0]);
    writer.SetFrameValue(0, "Short");
    auto write_tag = [&](const std::string& p) { return writer.WriteTag(files, p); };
#endif
    for (const auto& p : paths) BareWrite(p, header);
    auto w0 = Clock::now();
    for (int i = 0; i < writes; ++i) bad += !BareWrite(paths[static_cast<size_t>(i)], header);
    auto w1 = Clock::now();
    for (int i = 0; i < writes; ++i) bad += !write_tag(paths[static_cast<size_t>(i)]);
    auto w2 = Clock::now();
    double bare_w = Seconds(w0, w1), tag_w = Seconds(w1, w2);

    fs::remove_all(dir);
    std::printf("%s: %d files, %d failures\n", how, count, bad);
    std::printf("%s: bare minimum (open, 10 + 128 bytes, close): %.0f files/s\n", how, n / bare);
    std::printf("%s: read both tags (ReadTag + every field): %.0f files/s\n", how, n / tags);
    std::printf("%s: rewrite the header bytes: %.0f files/s; WriteTag fitting in place: %.0f files/s; "
                "write ratio %.2f (target <= 3)\n",
                how, writes / bare_w, writes / tag_w, tag_w / bare_w);
    std::printf("%s: read ratio (read both tags / bare minimum, target <= 2): %.2f\n", how, tags / bare);
    return bad ? 1 : 0;
}
