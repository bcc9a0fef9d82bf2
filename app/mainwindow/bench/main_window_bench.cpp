// `make bench`: the main window lists a folder tree of tagged MP3 files,
// recursive, in the ID3v1 and the ID3v2 view; each time from the folder
// event to "N Files found" is set against the bare walk of the same tree
// with one open-read-close of each file's tag bytes. Ratio last.
//   main_window_bench.exe TREE   (a Windows path)
#include <windows.h>
#include <ole2.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "app/foundation/tags/win32/testing/tag_objects.h"
#include "app/mainwindow/frm_main.h"
#include "libs/common/bench/bench_clock.h"

namespace {

using corvella::bench::Now;

// The tag bytes of one file: the ID3v2 header and tag, and the last 128 bytes.
void ReadTagBytes(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    unsigned char head[10] = {};
    DWORD got = 0;
    ReadFile(h, head, sizeof head, &got, nullptr);
    if (got == 10 && head[0] == 'I' && head[1] == 'D' && head[2] == '3') {
        const DWORD size = (head[6] << 21) | (head[7] << 14) | (head[8] << 7) | head[9];
        std::string tag(size, '\0');
        ReadFile(h, &tag[0], size, &got, nullptr);
    }
    char last[128];
    SetFilePointer(h, -128, nullptr, FILE_END);
    ReadFile(h, last, sizeof last, &got, nullptr);
    CloseHandle(h);
}

int BareWalk(const std::string& folder) {
    int files = 0;
    WIN32_FIND_DATAA d;
    HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &d);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        const std::string name = d.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            files += BareWalk(path);
        } else if (name.size() > 4 && lstrcmpiA(name.c_str() + name.size() - 4, ".mp3") == 0) {
            ReadTagBytes(path);
            ++files;
        }
    } while (FindNextFileA(find, &d));
    FindClose(find);
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string tree = argv[1];
    OleInitialize(nullptr);
    corvella::tags::testing::TagObjects tags;
    if (FAILED(tags.Create())) {
        std::printf("the tag libraries are not registered\n");
        return 3;
    }
    std::vector<std::string> genres{"Blues"};
    corvella::FrmMain f;
    f.SetShared({tags.Pair(), &genres});
    f.Show();
    f.RecursiveSearch = true;

    const double bareStart = Now();
    const int bareFiles = BareWalk(tree);
    const double bare = Now() - bareStart;
    std::printf("bare walk and tag reads: %d files in %.3f s\n", bareFiles, bare);

    double worst = 0;
    for (int version : {0, 1}) {
        f.ToggleTagVersion(version);
        const std::string expect = std::to_string(bareFiles) + " Files found";
        f.SB1.Panels(1).SetText("");
        const double start = Now();
        f.FTVWFiles.SetPath(tree);
        while (f.ListingRunning() || f.SB1.Panels(1).Text() != expect || f.lvFiles.ListItems.Count() != bareFiles) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            corvella::forms::DoEvents();
            if (Now() - start > 600) break;
        }
        const double took = Now() - start;
        worst = took > worst ? took : worst;
        std::printf("main window, ID3v%d view: %d rows in %.3f s\n", version + 1, f.lvFiles.ListItems.Count(), took);
        // The same folder again would be the same event: the next run starts
        // from elsewhere.
        f.SB1.Panels(1).SetText("");
        f.FTVWFiles.SetPath("Desktop");
        while (f.ListingRunning() || f.SB1.Panels(1).Text().find("Files") == std::string::npos) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            corvella::forms::DoEvents();
        }
    }
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc))
        std::printf("private bytes after the listings: %.1f MB\n", pmc.PagefileUsage / 1048576.0);
    f.Unload();
    tags.Release();
    std::printf("ratio (slower view / bare): %.2f\n", bare > 0 ? worst / bare : 0.0);
    return 0;
}
