#include "libs/common/text/line_buffer.h"

namespace corvella {

void LineBuffer::Append(std::string_view bytes) {
    if (overflowed_) return;
    // Drop what was already handed out before the buffer grows again.
    if (start_ > 0) {
        data_.erase(0, start_);
        start_ = 0;
    }
    data_.append(bytes.data(), bytes.size());
    const size_t end = data_.rfind('\n');
    const size_t tail = end == std::string::npos ? data_.size() : data_.size() - end - 1;
    if (tail > maxLine_) overflowed_ = true;
}

bool LineBuffer::Next(std::string& line) {
    const size_t end = data_.find('\n', start_);
    if (end == std::string::npos) return false;
    if (end - start_ > maxLine_) {
        overflowed_ = true;
        return false;
    }
    size_t len = end - start_;
    if (len > 0 && data_[start_ + len - 1] == '\r') --len;
    line.assign(data_, start_, len);
    start_ = end + 1;
    return true;
}

std::string LineBuffer::TakeRest() {
    std::string rest = data_.substr(start_);
    data_.clear();
    start_ = 0;
    return rest;
}

}  // namespace corvella
