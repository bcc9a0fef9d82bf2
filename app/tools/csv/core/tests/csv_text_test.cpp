// The CSV text byte for byte (a reader reads it back in the window's test),
// the audio columns from real files, the name and the write.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

#include "app/tools/csv/core/csv_text.h"

namespace corvella {
namespace csv {
namespace {

namespace fs = std::filesystem;

FileRow Row(const std::string& path, std::vector<std::string> cells) { return {path, false, std::move(cells)}; }

struct FixedAudio : AudioSource {
    int reads = 0;
    AudioFacts Read(const std::string&) override { return ++reads, AudioFacts{"128", "3906", "04:10"}; }
};

TEST(CsvText, QuotedValuesInTheColumnsOrder) {
    const std::vector<std::string> cells = {"Say \"Hi\", now", "A,B", "1\r\n2", "1999", "c", "Rock", "05"};
    struct Case {
        std::vector<std::string> columns;
        std::vector<FileRow> rows;
        std::string text;
        int audioReads;
    } const cases[] = {
        // Quotes doubled; commas and line breaks stay inside; unknown names give nothing.
        {{"Artist", "?", "Title", "Album"}, {Row("C:\\a.mp3", cells)},
         "\"Artist\",\"Title\",\"Album\"\r\n\"A,B\",\"Say \"\"Hi\"\", now\",\"1\r\n2\"\r\n", 0},
        {{"Filename", "Path", "Comment", "Genre", "Track", "Year"}, {Row("C:\\Live.Set\\a.b.mp3", cells), Row("x.mp3", {})},
         "\"Filename\",\"Path\",\"Comment\",\"Genre\",\"Track\",\"Year\"\r\n"
         "\"a.b.mp3\",\"C:\\Live.Set\\\",\"c\",\"Rock\",\"05\",\"1999\"\r\n\"x.mp3\",\"\",\"\",\"\",\"\",\"\"\r\n", 0},
        {{"KBps", "File Size (KB)", "Length"}, {Row("a", {}), Row("b", {})},
         "\"KBps\",\"File Size KB\",\"Length\"\r\n\"128\",\"3906\",\"04:10\"\r\n\"128\",\"3906\",\"04:10\"\r\n", 2},
        {{"Title"}, {}, "\"Title\"\r\n", 0},
    };
    for (const Case& c : cases) {
        FixedAudio audio;
        EXPECT_EQ(BuildCSVText(c.columns, c.rows, audio), c.text);
        EXPECT_EQ(audio.reads, c.audioReads);
    }
    EXPECT_EQ(FileBytes("\"Title\"\r\n"), "\"Title\"\r\n\r\n");
}

TEST(CsvText, AudioFromTheFileAVanishedFileGivesEmptyCellsAndTheWriteReplaces) {
    const fs::path dir = fs::temp_directory_path() / ("corvella_csv_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string frame(4000000, '\0');  // 128 kbit/s, 44.1 kHz, MPEG-1 layer III
    frame.replace(0, 3, "\xFF\xFB\x90");
    std::ofstream((dir / "big.mp3").string(), std::ios::binary) << frame;
    std::ofstream((dir / "noise.mp3").string(), std::ios::binary) << std::string(3000, 'x');
    FileAudioSource audio(platform_filesystem());
    struct Case {
        const char* name;
        const char *kbps, *size, *length;
    } const cases[] = {{"big.mp3", "128", "3906", "04:10"}, {"gone.mp3", "", "", ""}, {"noise.mp3", "", "2", ""}};
    for (const Case& c : cases) {
        const AudioFacts f = audio.Read((dir / c.name).string());
        EXPECT_EQ(f.bitRate + "|" + f.sizeKB + "|" + f.playTime, std::string(c.kbps) + "|" + c.size + "|" + c.length)
            << c.name;
    }
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
        const char *chosen, *path;
        bool appended;
    } const cases[] = {{"C:\\list", "C:\\list.csv", true}, {"C:\\a.CSV", "C:\\a.CSV", false},
                       {"C:\\a.csv.txt", "C:\\a.csv.txt.csv", true}, {"csv", "csv.csv", true}, {"", "", false}};
    for (const Case& c : cases) {
        bool appended = !c.appended;
        EXPECT_EQ(CsvPath(c.chosen, appended), c.path);
        EXPECT_EQ(appended, c.appended) << c.chosen;
    }
}

}  // namespace
}  // namespace csv
}  // namespace corvella
