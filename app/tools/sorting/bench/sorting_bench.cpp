// `make bench`: the sorting wizard previews and sorts a tree of tagged MP3
// files into two folder levels (artist, then album), driven through its
// page bar; set against the bare work on an equal tree: one tag read and
// one MoveFileA a file (folders made as met). Ratio last.
//   sorting_bench.exe ROOT   (a Windows path made by make_sort_tree.sh)
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "app/foundation/tags/win32/testing/tag_objects.h"
#include "app/tools/sorting/frm_wiz_file_sorting.h"
#include "libs/common/bench/bench_clock.h"

namespace {

using corvella::bench::Now;

void Collect(const std::string& folder, std::vector<std::string>& files) {
    WIN32_FIND_DATAA d;
    HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &d);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = d.cFileName;
        if (name == "." || name == "..") continue;
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) Collect(folder + "\\" + name, files);
        else files.push_back(folder + "\\" + name);
    } while (FindNextFileA(find, &d));
    FindClose(find);
}

// One tag read and one move a file.
int Bare(const std::string& from, const std::string& to, corvella::tags::TagObject& tag) {
    std::vector<std::string> files;
    Collect(from, files);
    std::set<std::string> made;
    int moved = 0;
    for (const std::string& path : files) {
        tag.ReadTag(path);
        const std::string artist = tag.FieldText(1).value_or("Unknown");
        const std::string folder = to + "\\" + artist + "\\" + tag.FieldText(2).value_or("Unknown");
        if (made.insert(folder).second) {
            CreateDirectoryA((to + "\\" + artist).c_str(), nullptr);
            CreateDirectoryA(folder.c_str(), nullptr);
        }
        moved += MoveFileA(path.c_str(), (folder + path.substr(path.rfind('\\'))).c_str()) ? 1 : 0;
    }
    return moved;
}

}  // namespace

int main(int argc, char** argv) {
    using corvella::forms::WizardButtons;
    if (argc < 2) return 2;
    const std::string root = argv[1];
    OleInitialize(nullptr);
    corvella::tags::testing::TagObjects tags;
    if (FAILED(tags.Create())) {
        std::printf("the tag libraries are not registered\n");
        return 3;
    }
    int failures = 0;
    corvella::forms::SetMsgBoxHook([&](const std::string&, unsigned, const std::string&) {
        ++failures;
        return IDOK;
    });
    {
        corvella::tags::ComID3v2& v2 = tags->id3v2;

        // Both trees read once first, so that neither side meets a cold cache.
        for (const char* tree : {"\\bare", "\\wizard"}) {
            std::vector<std::string> all;
            Collect(root + tree, all);
            for (const std::string& path : all) v2.ReadTag(path);
        }
        const double bareStart = Now();
        const int bareMoved = Bare(root + "\\bare", root + "\\bare-out", v2);
        const double bare = Now() - bareStart;
        std::printf("bare tag reads and moves: %d files in %.3f s\n", bareMoved, bare);

        corvella::FileSet files;
        files.folder = root + "\\wizard";
        corvella::FrmWizFileSorting form(files, tags.Pair());
        form.Show();
        HWND bar = form.WizardButtons1.ControlWindow();
        auto next = [&] { SendMessageA(GetDlgItem(bar, 100 + WizardButtons::ButtonNext), BM_CLICK, 0, 0); };
        next();
        form.Text1.SetText(root + "\\wizard-out");
        form.Text2.SetText(root + "\\wizard");
        form.chkRecursive.SetValue(1);
        next();
        form.cboFolder.SetListIndex(0);
        form.cboSubFolder.SetListIndex(1);
        form.cboTagVersion.SetListIndex(1);
        form.Check1.SetValue(1);
        const double previewStart = Now();
        next();
        const double preview = Now() - previewStart;
        const int planned = form.lvwPreview.ListItems.Count();
        const double runStart = Now();
        next();
        const double run = Now() - runStart;
        int done = 0;
        for (int i = 1; i <= form.lvwResults.ListItems.Count(); ++i)
            done += form.lvwResults.ListItems(i)->SubItem(1) == "Sucsess" ? 1 : 0;
        std::printf("wizard preview: %d files in %.3f s\n", planned, preview);
        std::printf("wizard run: %d moved in %.3f s (emptied folders removed too)%s\n", done, run,
                    failures ? ", with failures" : "");
        form.Unload();
        std::printf("ratio (wizard preview and run / bare): %.2f\n", bare > 0 ? (preview + run) / bare : 0.0);
    }
    tags.Release();
    return 0;
}
