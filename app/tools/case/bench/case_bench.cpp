// The case run over 10,000 files, both tag versions, every field, through
// the registered tag libraries as the program calls them, against the tag
// bench's work on the same files: read both tags with every field, write
// both. Each round flips the case, so every file is written in each.
// Best of three each; the last line is the ratio.
//   case_bench [files]
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/foundation/text_helpers.h"
#include "app/foundation/tags/win32/testing/tag_objects.h"
#include "app/tools/case/core/case_run.h"
#include "libs/tags/ID3v1/core/id3v1_tag.h"
#include "libs/tags/ID3v2/core/id3v2_tag.h"
#include "libs/common/bench/bench_clock.h"

namespace {

using namespace corvella;

using corvella::bench::Now;

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    CoInitialize(nullptr);
    tags::testing::TagObjects objects;
    if (FAILED(objects.Create())) {
        std::printf("the tag libraries are not registered\n");
        return 1;
    }
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "corvella_case_bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);

    // Audio with an ID3v2 tag in front (room to write in place) and an ID3v1 tag behind.
    FileSet set;
    {
        FileSystem& fs = platform_filesystem();
        id3v2::CID3v2Tag v2;
        id3v1::CID3v1Tag v1;
        const char* values[] = {"a title of some length", "the artist", "the album", "2001", "a comment",
                                "Rock", "3/12", "a composer", "an original artist", "(c) someone",
                                "http://example.invalid/", "an encoder"};
        for (int f = 0; f < 12; ++f) v2.SetFrameValue(f, values[f]);
        for (int f = 0; f < 7; ++f) v1.SetFieldValue(f, id3v1::FieldValue::Str(values[f]));
        std::string bytes;
        v2.RenderTag(512, bytes);
        std::string audio(4096, '\x55');
        audio[0] = '\xFF';
        audio[1] = '\xFB';
        bytes += audio;
        for (int i = 0; i < count; ++i) {
            FileRow row;
            row.path = folder + "f" + std::to_string(i) + ".mp3";
            HANDLE h = CreateFileA(row.path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD put = 0;
            WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
            CloseHandle(h);
            v1.WriteTag(fs, row.path);
            set.rows.push_back(std::move(row));
        }
    }

    int bad = 0;
    {
        tags::ComID3v1& v1 = objects->id3v1;
        tags::ComID3v2& v2 = objects->id3v2;
        const tags::TagPair pair = objects.Pair();
        // The tag bench's work: read both with every field, write both.
        auto readWrite = [&] {
            for (const FileRow& row : set.rows) {
                bad += !v1.ReadTag(row.path);
                for (int f = 0; f < tags::kV1FieldCount; ++f) v1.FieldText(f);
                bad += !v1.WriteTag(row.path);
                bad += !v2.ReadTag(row.path);
                for (int f = 0; f < tags::kFieldCount; ++f) v2.FieldText(f);
                bad += !v2.WriteTag(row.path);
            }
        };
        // The window's part without a window.
        struct Quiet : batch::BatchView {
            void Show(const std::string&, const std::string&, int, const std::string&) override {}
        } view;
        const std::vector<std::string> paths = tagcase::FilesToConvert(tagcase::CaseChoice(), set);
        tagcase::CaseChoice choice;
        choice.applyVersion = 2;
        choice.applyTo = 1;
        for (int f = 0; f < tags::kFieldCount; ++f) choice.fields[static_cast<size_t>(f)] = f != tags::kTrackField;

        double bare = 1e9, tool = 1e9;
        for (int round = 0; round < 3; ++round) {
            double t0 = Now();
            readWrite();
            double t1 = Now();
            bare = std::min(bare, t1 - t0);
            choice.newCase = round % 2 == 0 ? kCaseUpper : kCaseLower;
            t0 = Now();
            int written = 0;
            const batch::BatchOutcome out = tagcase::ConvertFiles(choice, paths, pair, view, &written);
            t1 = Now();
            tool = std::min(tool, t1 - t0);
            bad += static_cast<int>(out.failed.size()) + (written != 2 * count);
        }
        for (const FileRow& row : set.rows) DeleteFileA(row.path.c_str());
        RemoveDirectoryA(folder.c_str());
        std::printf("%d files, both versions, %d failures\n", count, bad);
        std::printf("tag bench's read (every field) and write of both tags: %.0f files/s\n", count / bare);
        std::printf("case run (read, convert, write both tags): %.0f files/s\n", count / tool);
        std::printf("ratio (case run / read and write, target <= 1.5): %.2f\n", tool / bare);
    }
    objects.Release();
    CoUninitialize();
    return bad ? 1 : 0;
}
