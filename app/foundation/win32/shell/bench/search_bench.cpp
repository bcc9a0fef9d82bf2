// The folder search against a bare FindFirstFileA/FindNextFileA walk of the
// same generated tree (10,000 files in 500 folders), in the same run.
// Prints files per second for each; the last line is the ratio.
//   search_bench [files] [folders]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "app/foundation/folder_search.h"
#include "app/foundation/win32/shell/directory_lister.h"
#include "platform/forms/runtime.h"
#include "libs/common/bench/bench_clock.h"

namespace {

using corvella::foundation::CFileSystem;
using corvella::shell::ListingMethod;
using corvella::shell::PumpingSearchEvents;
using corvella::shell::Win32DirectoryLister;

using corvella::bench::Now;

void Touch(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

// `folders` folders (the root's children and, below each, its share of
// grandchildren), the files spread evenly over them; every fifth file is
// no MP3.
std::vector<std::string> MakeTree(const std::string& root, int files, int folders) {
    std::vector<std::string> all;
    CreateDirectoryA(root.c_str(), nullptr);
    const int top = std::max(1, folders / 25);
    for (int i = 0; i < top && static_cast<int>(all.size()) < folders; ++i) {
        char name[32];
        std::snprintf(name, sizeof(name), "Artist %02d\\", i);
        all.push_back(root + name);
        CreateDirectoryA(all.back().c_str(), nullptr);
    }
    for (int i = 0; static_cast<int>(all.size()) < folders; ++i) {
        char name[32];
        std::snprintf(name, sizeof(name), "Album %03d\\", i);
        const std::string path = all[static_cast<size_t>(i % top)] + name;
        CreateDirectoryA(path.c_str(), nullptr);
        all.push_back(path);
    }
    for (int f = 0; f < files; ++f) {
        char name[32];
        std::snprintf(name, sizeof(name), f % 5 == 4 ? "cover %05d.jpg" : "Track %05d.mp3", f);
        Touch(all[static_cast<size_t>(f) % all.size()] + name);
    }
    return all;
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + name + "\\");
            else
                DeleteFileA((folder + name).c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

bool IsMp3(const char* name) {
    const char* dot = std::strrchr(name, '.');
    return dot && lstrcmpiA(dot, ".mp3") == 0;
}

// Breadth-first, the full paths of the MP3 files; nothing else.
std::vector<std::string> BareWalk(const std::string& root) {
    std::vector<std::string> found;
    std::deque<std::string> queue{root};
    while (!queue.empty()) {
        const std::string folder = queue.front();
        queue.pop_front();
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (lstrcmpA(data.cFileName, ".") != 0 && lstrcmpA(data.cFileName, "..") != 0)
                    queue.push_back(folder + data.cFileName + "\\");
            } else if (IsMp3(data.cFileName)) {
                found.push_back(folder + data.cFileName);
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return found;
}

std::vector<std::string> FolderSearch(const std::string& root,
                                      ListingMethod method = ListingMethod::Automatic) {
    Win32DirectoryLister lister(method);
    PumpingSearchEvents events([] { corvella::forms::DoEvents(); });
    CFileSystem search(lister);
    search.SetEvents(&events);
    search.SetFileExtenstions("*.mp3");
    search.SetSearchPaths(root);
    std::vector<std::string> found;
    search.Search(found);
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int folders = argc > 2 ? std::atoi(argv[2]) : 500;
    if (files <= 0 || folders <= 0) {
        std::fprintf(stderr, "usage: search_bench [files] [folders]\n");
        return 2;
    }
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "corvella search bench " + std::to_string(GetCurrentProcessId()) + "\\";

    const double t0 = Now();
    MakeTree(root, files, folders);
    std::printf("tree: %d files in %d folders, made in %.2f s\n", files, folders, Now() - t0);

    // Warm the caches once, then take the best of several alternating runs.
    const size_t expected = BareWalk(root).size();
    if (FolderSearch(root).size() != expected) {
        std::fprintf(stderr, "the two walks found different files\n");
        RemoveTree(root);
        return 1;
    }
    double best_bare = 1e9, best_search = 1e9, best_find = 1e9;
    for (int round = 0; round < 5; ++round) {
        double t = Now();
        const size_t a = BareWalk(root).size();
        best_bare = std::min(best_bare, Now() - t);
        t = Now();
        const size_t b = FolderSearch(root).size();
        best_search = std::min(best_search, Now() - t);
        t = Now();
        const size_t c = FolderSearch(root, ListingMethod::FindFunctions).size();
        best_find = std::min(best_find, Now() - t);
        if (a != expected || b != expected || c != expected) {
            std::fprintf(stderr, "the walks changed their counts\n");
            RemoveTree(root);
            return 1;
        }
    }
    RemoveTree(root);

    std::printf("matching files: %u\n", static_cast<unsigned>(expected));
    std::printf("bare find walk: %.0f files/s (%.1f ms)\n", expected / best_bare, best_bare * 1000);
    std::printf("folder search, find functions only (fallback): %.0f files/s (%.1f ms, %.2fx)\n",
                expected / best_find, best_find * 1000, best_find / best_bare);
    std::printf("folder search:  %.0f files/s (%.1f ms)\n", expected / best_search, best_search * 1000);
    std::printf("ratio folder search / bare walk: %.2fx (target at most 1.5x)\n", best_search / best_bare);
    return 0;
}
