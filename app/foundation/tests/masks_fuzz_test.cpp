// The corpus run of the mask expansion's fuzz target: real masks, names
// and values, and the inputs that once failed.
#include <gtest/gtest.h>

#include "libs/common/tests/fuzz_corpus.h"

namespace {

std::string Input(char choices, const std::string& mask, const std::string& file, const std::string& fields = "") {
    return std::string(1, choices) + mask + "\n" + file + (fields.empty() ? "" : "\n" + fields);
}

// Fields 0 to 10 each holding the next field's token `times` times.
std::string Cascade(int times) {
    std::string fields;
    for (const char* t : {"#Artist#", "#Album#", "#Year#", "#Comments#", "#Genre#", "#Track#", "#Composer#",
                          "#Org. Artist#", "#Copyright#", "#WebLink#", "#Encoded By#"}) {
        for (int i = 0; i < times; ++i) fields += t;
        fields += "\n";
    }
    return fields + "end";
}

TEST(MaskFuzz, CorpusRun) {
    const std::string values = "Title\nArtist\nAlbum\n1999\nNote\nRock\n7\nComp\nOrig\n(c)\nhttp://x\nEnc";
    const std::vector<std::string> seeds = {
        Input(0x21, "#Title# - #Artist# (#Map#1:-#) #Order#/#Total#", "C:\\Music\\01 - Intro.mp3", values),
        Input(0x20, "#Sync# #Composer# #map#0: - #", "C:\\a\\Artist_x_Song.MP3", values),
        Input(0x11, "[#Sync#] #Map#5:-# #Title#", "D:\\x.y\\A-B-C.mp3", Cascade(1)),
        // Inputs that once failed: a name whose piece holds its own token
        // grew without end; values holding the next token multiplied the
        // text at every step.
        Input(0x01, "#Map#0:# #Map#0:#", "C:\\M\\#Map#0:##Map#0:#.mp3"),
        Input(0x01, "##Title##Title##Title#", "C:\\t.mp3", Cascade(60)),
        Input(0x00, "#Map#99999999999999999999:-# #Map#", "a-b"),
    };
    corvella::fuzz::RunCorpus(seeds, {"#", "#Map#", "#Map#0:", ":", "-", "_", ".", "\n", "#Title#", "#Sync#",
                                      "#Order#", "#Total#", "\\", " "},
                              5000);
}

}  // namespace
