// The CSV export of 10,000 listed files with every column against the bare
// minimum of file work for the same result: one read of each file's start
// (where its first frame header lies) with its size, and one write of a
// text of the same length. Best of three each; the last line is the ratio.
//   csv_bench [files]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/tools/csv/core/csv_text.h"
#include "libs/common/bench/bench_clock.h"

namespace {

using namespace corvella;

using corvella::bench::Now;

bool WriteAll(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(h);
    return ok && put == bytes.size();
}

// Open, the first 4 KB, the size, close: what finding a first frame takes.
bool BareRead(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    char head[4096];
    DWORD got = 0;
    const BOOL ok = ReadFile(h, head, sizeof head, &got, nullptr) && GetFileSize(h, nullptr) != INVALID_FILE_SIZE;
    CloseHandle(h);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "corvella_csv_bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    // Each file: a 128 kbit/s MPEG-1 layer III frame header, then 8 KB.
    std::string audio(8192, '\x55');
    audio[0] = '\xFF';
    audio[1] = '\xFB';
    audio[2] = '\x90';
    audio[3] = '\x00';
    FileSet set;
    int bad = 0;
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "file %05d.mp3", i);
        FileRow row;
        row.path = folder + name;
        row.cells = {"Song \"" + std::to_string(i) + "\", live", "The Band", "The Album", "2001", "A comment",
                     "Rock", "05/12", "", "", "", ""};
        bad += !WriteAll(row.path, audio);
        set.rows.push_back(std::move(row));
    }
    const std::vector<std::string> columns(csv::kColumns, csv::kColumns + csv::kColumnCount);
    const std::string out = folder + "list.csv";

    size_t length = 0;
    double bare = 1e9, tool = 1e9;
    for (int round = 0; round < 3; ++round) {
        double t0 = Now();
        csv::FileAudioSource source(platform_filesystem());
        const std::string bytes = csv::FileBytes(csv::BuildCSVText(columns, set.rows, source));
        std::string error;
        bad += !csv::WriteCsv(platform_filesystem(), out, bytes, error);
        double t1 = Now();
        tool = std::min(tool, t1 - t0);
        length = bytes.size();

        t0 = Now();
        for (const FileRow& row : set.rows) bad += !BareRead(row.path);
        bad += !WriteAll(out, std::string(length, 'x'));
        t1 = Now();
        bare = std::min(bare, t1 - t0);
    }
    for (const FileRow& row : set.rows) DeleteFileA(row.path.c_str());
    DeleteFileA(out.c_str());
    RemoveDirectoryA(folder.c_str());
    std::printf("%d rows, 12 columns, %u bytes, %d failures\n", count, static_cast<unsigned>(length), bad);
    std::printf("bare first-frame reads and one write: %.0f rows/s\n", count / bare);
    std::printf("CSV export (text, audio columns, write): %.0f rows/s\n", count / tool);
    std::printf("ratio (export / bare, target <= 2): %.2f\n", tool / bare);
    return bad ? 1 : 0;
}
