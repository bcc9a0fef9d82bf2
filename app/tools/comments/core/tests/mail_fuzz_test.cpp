// The corpus run of the comments mail's fuzz target: names, addresses and
// comments as users type them, and the ones that once broke the limits.
#include <gtest/gtest.h>

#include "libs/common/tests/fuzz_corpus.h"

namespace {

std::string Input(const std::string& name, const std::string& address, const std::string& comment,
                  const std::string& date = "Wednesday, December 09, 2026") {
    return name + '\0' + address + '\0' + comment + '\0' + date;
}

TEST(MailFuzz, CorpusRun) {
    const std::string longAddress = std::string(64, 'a') + "@" + std::string(185, 'b') + ".com";  // 254
    const std::vector<std::string> seeds = {
        Input("Ann Lee", "ann@example.com", "Hello\n.\nBye"),
        Input("J. \"Jo\" Smith\\", " o'brien+tags@example.info ", ".\r\n..\r" + std::string(1200, 'w')),
        Input("Ren\xe9 M\xfcller", "abc@def.c0m", "x\r\n.\r\nQUIT\r\n", "9 d\xe9" "c."),
        // Inputs that once passed 998 bytes: quoting doubled the name past
        // its limit, and an accepted address had none.
        Input(std::string(900, '"'), longAddress, "x"),
        Input(std::string(899, '\\') + ".", longAddress + "x", "x"),
        Input(std::string(900, 'n'), longAddress, "x", std::string(2000, 'd')),
    };
    corvella::fuzz::RunCorpus(seeds, {std::string(1, '\0'), "\"", "\\", "@", ".", "\r\n", "\n.", ".", " ",
                                      std::string(300, 'x'), std::string(300, '"'), "\xe9"},
                              5000);
}

}  // namespace
