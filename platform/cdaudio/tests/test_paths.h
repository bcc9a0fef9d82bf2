// The files the tests' scripts make, as Windows paths on Wine's Z: drive,
// from the Unix folder the test runner names in an environment variable.
#pragma once

#include <cstdlib>
#include <string>

namespace corvella::cdaudio::testing {

inline std::string WinPath(const char* env, const char* fallback, const std::string& name = "") {
    const char* unix = std::getenv(env);
    std::string path = std::string("Z:") + (unix ? unix : fallback) + (name.empty() ? "" : "/" + name);
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// The disc images make_images.py wrote.
inline std::string ImagePath(const std::string& name = "") { return WinPath("CORVELLA_CD_IMAGES", "/tmp", name); }

}  // namespace corvella::cdaudio::testing
