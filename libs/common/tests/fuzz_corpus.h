// The corpus run of a fuzz target (its LLVMFuzzerTestOneInput) in the
// native tests: every seed as it is, the inputs that once failed among
// them, then seeded mutations of the seeds, so every run tries the same
// inputs. Each input is copied into a buffer of its exact size, so the
// sanitizers see any read past it. The same target builds for libFuzzer
// for longer runs (corvella_fuzz_target in cmake/Corvella.cmake).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace corvella::fuzz {

inline std::string& CurrentInput() {
    static std::string input;
    return input;
}

// A property that fails ends the run at once, as libFuzzer expects; the
// corpus run also prints the input, ready to become a seed.
inline void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz check failed: %s\ninput (%lu bytes): \"", what,
                 static_cast<unsigned long>(CurrentInput().size()));
    for (unsigned char c : CurrentInput().substr(0, 2000)) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') std::fputc(c, stderr);
        else std::fprintf(stderr, "\\x%02X\"\"", c);
    }
    std::fprintf(stderr, "\"\n");
    std::abort();
}

inline void RunOne(const std::string& input) {
    CurrentInput() = input;
    std::unique_ptr<uint8_t[]> exact(new uint8_t[input.size()]);
    std::copy(input.begin(), input.end(), exact.get());
    LLVMFuzzerTestOneInput(exact.get(), input.size());
}

// A byte changed, a piece of `dictionary` put in, a cut, a repeat or a
// splice with another seed.
inline std::string Mutate(std::string s, const std::vector<std::string>& seeds,
                          const std::vector<std::string>& dictionary, std::mt19937& rng) {
    auto pick = [&rng](size_t n) { return n == 0 ? size_t(0) : size_t(rng() % n); };
    const size_t at = pick(s.size() + 1);
    switch (pick(6)) {
    case 0:
        for (size_t k = pick(6) + 1; k > 0 && !s.empty(); --k) s[pick(s.size())] = static_cast<char>(rng());
        break;
    case 1:
        if (!dictionary.empty()) s.insert(at, dictionary[pick(dictionary.size())]);
        break;
    case 2: s.erase(at, pick(40) + 1); break;
    case 3: s.insert(at, s.substr(at, pick(64) + 1)); break;
    case 4: {
        const std::string& other = seeds[pick(seeds.size())];
        s = s.substr(0, at) + other.substr(pick(other.size() + 1));
        break;
    }
    default: s.resize(at);
    }
    return s;
}

inline void RunCorpus(const std::vector<std::string>& seeds, const std::vector<std::string>& dictionary,
                      int mutations) {
    for (const std::string& s : seeds) RunOne(s);
    std::mt19937 rng(20261209);
    for (int i = 0; i < mutations; ++i) {
        std::string s = seeds[static_cast<size_t>(i) % seeds.size()];
        for (int k = static_cast<int>(rng() % 6); k >= 0; --k) s = Mutate(s, seeds, dictionary, rng);
        RunOne(s);
    }
}

}  // namespace corvella::fuzz
