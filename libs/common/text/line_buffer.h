// Received bytes of a line protocol cut into complete lines, for the
// dialogues that read a server's replies piece by piece as they arrive.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvella {

// A line ends at LF; a CR before the LF is dropped. A line that grows past
// the limit without an end marks the buffer as overflowed: the peer is not
// speaking a line protocol.
class LineBuffer {
public:
    explicit LineBuffer(size_t maxLine = 64 * 1024) : maxLine_(maxLine) {}

    void Append(std::string_view bytes);
    // Takes the next complete line; false when none is complete yet.
    bool Next(std::string& line);
    bool Overflowed() const { return overflowed_; }
    // Hands over the bytes not yet taken as lines (a body after headers).
    std::string TakeRest();

private:
    std::string data_;
    size_t start_ = 0;  // where the next line begins in data_
    size_t maxLine_;
    bool overflowed_ = false;
};

}  // namespace corvella
