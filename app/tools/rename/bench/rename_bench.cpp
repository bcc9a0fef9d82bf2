// Renaming listed files from their tags against a bare MoveFileA loop over
// the same names, each on its own fresh folder of empty files. The names
// are built once, as the rename window builds its preview once. Prints
// files per second for each; the last line is the ratio.
//   rename_bench [files]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/foundation/file_set.h"
#include "app/foundation/files/tag_names.h"
#include "app/foundation/files/win32/win32_file_ops.h"
#include "app/tools/rename/core/rename_choices.h"
#include "libs/common/bench/bench_clock.h"

namespace {

using namespace corvella;

using corvella::bench::Now;

// A folder of `files` empty files "file NNNNN.mp3", listed with their cells.
FileSet MakeFolder(const std::string& folder, int files) {
    CreateDirectoryA(folder.c_str(), nullptr);
    FileSet set;
    set.folder = folder;
    for (int i = 0; i < files; ++i) {
        char name[32], title[40], track[8];
        std::snprintf(name, sizeof name, "file %05d.mp3", i);
        std::snprintf(title, sizeof title, "Song number %d: the \"take\"", i);
        std::snprintf(track, sizeof track, "%02d/99", i % 99 + 1);
        FileRow row;
        row.path = folder + name;
        row.cells = {title, "The Band", "The Album", "2001", "", "Rock", track, "", "", "", ""};
        HANDLE h = CreateFileA(row.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        set.rows.push_back(std::move(row));
    }
    return set;
}

void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + data.cFileName).c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string base = std::string(temp) + "corvella_rename_bench_";
    const files::NameRecipe recipe = rename::RecipeOf(rename::RenameChoices{});

    // The bare loop: the same new names, made beforehand, moved one by one.
    const std::string bareFolder = base + "bare\\";
    RemoveFolder(bareFolder);
    FileSet bare = MakeFolder(bareFolder, files);
    std::vector<std::string> targets;
    for (const FileRow& row : bare.rows) targets.push_back(bareFolder + files::BuildTagName(row.path, row.cells, recipe).name);
    double t0 = Now();
    int bareMoved = 0;
    for (size_t i = 0; i < bare.rows.size(); ++i)
        if (MoveFileA(bare.rows[i].path.c_str(), targets[i].c_str())) ++bareMoved;
    const double bareTime = Now() - t0;
    RemoveFolder(bareFolder);

    // The rename: names built once (the preview), then the renames.
    const std::string ownFolder = base + "rename\\";
    RemoveFolder(ownFolder);
    FileSet own = MakeFolder(ownFolder, files);
    t0 = Now();
    std::vector<files::RenameItem> items;
    items.reserve(own.rows.size());
    for (const FileRow& row : own.rows) items.push_back({row.path, files::BuildTagName(row.path, row.cells, recipe)});
    const files::RenameOutcome out = files::RenameToTagNames(files::SystemFiles(), items);
    const double ownTime = Now() - t0;
    RemoveFolder(ownFolder);

    std::printf("bare MoveFileA loop: %d of %d files, %.0f files/s\n", bareMoved, files, bareMoved / bareTime);
    std::printf("rename from tags:    %d of %d files, %.0f files/s\n", static_cast<int>(out.renamed.size()), files,
                out.renamed.size() / ownTime);
    std::printf("ratio (rename / bare time): %.2f\n", ownTime / bareTime);
    return out.renamed.size() == static_cast<size_t>(files) && bareMoved == files ? 0 : 1;
}
