// `make bench`: the album lookup's tag fill of 99 listed files in both tag
// versions (the batch loop, the fill's reads, sets and writes through the
// tag port over the real tag libraries), against the bare ReadTag,
// SetFieldValue and WriteTag calls for the same fields on the same files,
// in the same process. Best of three each; the ratio last.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "app/cdrip/albumlookup/core/album_fill.h"
#include "app/foundation/tags/win32/testing/tag_objects.h"

using namespace corvella;
using Clock = std::chrono::steady_clock;

namespace {

struct Quiet : batch::BatchView {
    void Show(const std::string&, const std::string&, int, const std::string&) override {}
};

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

}  // namespace

int main() {
    CoInitialize(nullptr);
    tags::testing::TagObjects objects;
    if (FAILED(objects.Create())) {
        std::printf("the tag libraries are not registered\n");
        return 1;
    }
    double fill = 1e9, bare = 1e9;
    {
        tags::ComTagPair& pair = *objects;
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const std::string folder = std::string(temp) + "corvella_album_bench";
        CreateDirectoryA(folder.c_str(), nullptr);
        FileSet files;
        disclookup::DiscInfo disc{"AC/DC", "Back in Black", "Rock", "1980", {}};
        std::string audio(64 * 1024, '\x55');
        audio[0] = '\xFF';  // a frame sync: the ID3v2 library writes no tag into a file without audio
        for (int i = 1; i <= 99; ++i) {
            const std::string path = folder + "\\" + std::to_string(i) + ".mp3";
            HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD put = 0;
            WriteFile(h, audio.data(), DWORD(audio.size()), &put, nullptr);
            CloseHandle(h);
            files.rows.push_back({path, false, {}});
            disc.Tracks.push_back({"Track title " + std::to_string(i), ""});
        }
        for (int round = 0; round < 3; ++round) {
            Quiet view;
            auto start = Clock::now();
            cdrip::FillRows(view, files, disc, pair.Pair(), true, true);
            fill = std::min(fill, Seconds(start));
            start = Clock::now();
            for (size_t i = 0; i < files.rows.size(); ++i) {
                for (tags::TagObject* t : {static_cast<tags::TagObject*>(&pair.id3v1),
                                           static_cast<tags::TagObject*>(&pair.id3v2)}) {
                    t->ReadTag(files.rows[i].path);
                    t->SetField(0, disc.Tracks[i].Title);
                    t->SetField(2, disc.Title);
                    t->SetField(1, disc.Artist);
                    t->SetField(3, disc.Year);
                    t->SetField(6, std::to_string(i + 1));
                    t->WriteTag(files.rows[i].path);
                }
            }
            bare = std::min(bare, Seconds(start));
        }
        for (const auto& r : files.rows) DeleteFileA(r.path.c_str());
        RemoveDirectoryA(folder.c_str());
    }
    objects.Release();
    CoUninitialize();
    std::printf("album fill, 99 files, both versions: %.3f s\n", fill);
    std::printf("bare tag calls, same fields:         %.3f s\n", bare);
    std::printf("ratio: %.2f\n", bare > 0 ? fill / bare : 0.0);
    return 0;
}
