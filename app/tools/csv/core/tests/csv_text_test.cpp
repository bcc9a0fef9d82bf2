// The CSV export read back by an independent reader (Python's csv module),
// on real files for the audio columns.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "app/tools/csv/core/csv_text.h"

namespace corvella {
namespace csv {
namespace {

namespace fs = std::filesystem;
using Table = std::vector<std::vector<std::string>>;

// The file as Python's csv module reads it (bytes kept as Latin-1).
Table ReadBack(const std::string& bytes) {
    const fs::path file = fs::temp_directory_path() / ("corvella_csv_" + std::to_string(::getpid()) + ".csv");
    std::ofstream(file, std::ios::binary) << bytes;
    const std::string cmd =
        "/usr/bin/python3 -c \"import csv,sys\n"
        "for r in csv.reader(open(sys.argv[1], newline='', encoding='latin-1')):\n"
        "  sys.stdout.buffer.write('\\x1f'.join(r).encode('latin-1') + b'\\x1e')\" " +
        file.string();
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        pclose(p);
    }
    fs::remove(file);
    Table rows;
    size_t start = 0;
    for (size_t end; (end = out.find('\x1e', start)) != std::string::npos; start = end + 1) {
        rows.emplace_back();
        const std::string rec = out.substr(start, end - start);
        size_t s = 0;
        for (size_t e; (e = rec.find('\x1f', s)) != std::string::npos; s = e + 1) rows.back().push_back(rec.substr(s, e - s));
        rows.back().push_back(rec.substr(s));
    }
    return rows;
}

struct NoAudio : AudioSource {
    int reads = 0;
    AudioFacts Read(const std::string&) override {
        ++reads;
        return {"128", "3906", "04:10"};
    }
};

FileRow Row(const std::string& path, std::vector<std::string> cells) {
    FileRow r;
    r.path = path;
    r.cells = std::move(cells);
    return r;
}

TEST(CsvText, TagTextWithQuotesCommasAndLineBreaksReadsBackUnchanged) {
    struct Case {
        const char* what;
        std::vector<std::string> columns;
        std::vector<FileRow> rows;
        Table expected;
        int audioReads;
    };
    const std::vector<std::string> cells = {"Say \"Hi\", \"Bye\"", "A, B", "Line 1\r\nLine 2\nLine 3", "1999",
                                            "Caf\xE9 \"quoted\"",  "Rock", "05"};
    const Case cases[] = {
        {"two columns", {"Title", "Track"}, {Row("C:\\M\\Intro.mp3", {"Intro", "", "", "", "", "", "05"})},
         {{"Title", "Track"}, {"Intro", "05"}}, 0},
        {"moved order, unknown names give nothing",
         {"Artist", "Nonsense", "Title", ""},
         {Row("C:\\M\\a.mp3", cells)},
         {{"Artist", "Title"}, {"A, B", cells[0]}}, 0},
        {"every tag column and the path columns",
         {"Filename", "Path", "Title", "Artist", "Album", "Year", "Track", "Genre", "Comment"},
         {Row("C:\\Music\\Live.Set\\song.one.mp3", cells), Row("D:\\x.mp3", {})},
         {{"Filename", "Path", "Title", "Artist", "Album", "Year", "Track", "Genre", "Comment"},
          {"song.one.mp3", "C:\\Music\\Live.Set\\", cells[0], cells[1], cells[2], cells[3], cells[6], cells[5],
           cells[4]},
          {"x.mp3", "D:\\", "", "", "", "", "", "", ""}},
         0},
        {"audio columns, read once per row",
         {"KBps", "File Size (KB)", "Length", "Title"},
         {Row("C:\\a.mp3", {"T"}), Row("C:\\b.mp3", {})},
         {{"KBps", "File Size KB", "Length", "Title"}, {"128", "3906", "04:10", "T"}, {"128", "3906", "04:10", ""}},
         2},
        {"empty list: the header and an empty line", {"Title"}, {}, {{"Title"}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NoAudio audio;
        const std::string text = BuildCSVText(c.columns, c.rows, audio);
        const std::string bytes = FileBytes(text);
        Table expected = c.expected;
        expected.push_back({""});  // the empty line that ends the file
        EXPECT_EQ(ReadBack(bytes), expected);
        EXPECT_EQ(audio.reads, c.audioReads);
        // Each line ends with CR LF and one more follows the last.
        EXPECT_EQ(bytes.substr(bytes.size() - 5), "\"\r\n\r\n");
    }
    NoAudio audio;
    EXPECT_EQ(BuildCSVText({"Title", "Track"}, {Row("C:\\Intro.mp3", {"Intro", "", "", "", "", "", "05"})}, audio),
              "\"Title\",\"Track\"\r\n\"Intro\",\"05\"\r\n");
}

TEST(CsvText, AudioColumnsComeFromTheFileAndAVanishedFileKeepsItsRowEmpty) {
    const fs::path dir = fs::temp_directory_path() / ("corvella_csv_audio_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    // 4,000,000 bytes: a 128 kbit/s 44.1 kHz MPEG-1 layer III frame header at the start.
    const std::string big = (dir / "big.mp3").string();
    {
        std::string bytes(4000000, '\0');
        bytes[0] = '\xFF';
        bytes[1] = '\xFB';
        bytes[2] = '\x90';
        bytes[3] = '\x00';
        std::ofstream(big, std::ios::binary) << bytes;
    }
    const std::string noise = (dir / "noise.mp3").string();
    std::ofstream(noise, std::ios::binary) << std::string(3000, 'x');
    FileAudioSource audio(platform_filesystem());
    const std::string text = BuildCSVText({"Filename", "KBps", "File Size (KB)", "Length"},
                                          {Row(big, {}), Row((dir / "gone.mp3").string(), {}), Row(noise, {})}, audio);
    const Table expected = {{"Filename", "KBps", "File Size KB", "Length"},
                            {"big.mp3", "128", "3906", "04:10"},
                            {"gone.mp3", "", "", ""},
                            {"noise.mp3", "", "2", ""},
                            {""}};
    Table got = ReadBack(FileBytes(text));
    // The reader sees the Unix path's whole name as the file name.
    for (size_t i = 1; i + 1 < got.size(); ++i) got[i][0] = fs::path(got[i][0]).filename().string();
    EXPECT_EQ(got, expected);

    // Written, then replaced by a shorter export.
    const std::string out = (dir / "list.csv").string();
    std::string error;
    ASSERT_TRUE(WriteCsv(platform_filesystem(), out, std::string(100, 'z'), error)) << error;
    ASSERT_TRUE(WriteCsv(platform_filesystem(), out, "\"a\"\r\n\r\n", error)) << error;
    std::ifstream in(out, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "\"a\"\r\n\r\n");
    EXPECT_FALSE(WriteCsv(platform_filesystem(), (dir / "no" / "x.csv").string(), "x", error));
    EXPECT_NE(error.find("could not be written"), std::string::npos);
    fs::remove_all(dir);
}

TEST(CsvText, TheExtensionIsAddedOnlyWhenMissing) {
    struct Case {
        const char* chosen;
        const char* path;
        bool appended;
    } const cases[] = {
        {"C:\\list", "C:\\list.csv", true},    {"C:\\list.CSV", "C:\\list.CSV", false},
        {"C:\\a.Csv", "C:\\a.Csv", false},     {"C:\\a.csv.txt", "C:\\a.csv.txt.csv", true},
        {"csv", "csv.csv", true},              {"", "", false},
    };
    for (const Case& c : cases) {
        bool appended = !c.appended;
        EXPECT_EQ(CsvPath(c.chosen, appended), c.path) << c.chosen;
        EXPECT_EQ(appended, c.appended) << c.chosen;
    }
    EXPECT_EQ(HeaderLabel("File Size (KB)"), "File Size KB");
    EXPECT_EQ(HeaderLabel("Size"), "");
    EXPECT_EQ(FileBytes("  \"a\"\r\n  "), "\"a\"\r\n\r\n");
}

}  // namespace
}  // namespace csv
}  // namespace corvella
