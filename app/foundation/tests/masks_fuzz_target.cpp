// Fuzz target of the mask expansion. The input: one byte of choices (bit 0
// the tag version, bits 1 to 4 the field being filled, bit 5 whether the
// other tag reads), then "\n"-separated texts: the mask, the file's path
// and the values of fields 0 to 11, which both tag objects give and load.
// Whatever they hold, the expansion ends, within its size limit, and a
// failure gives no value.
#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "app/foundation/masks.h"
#include "libs/common/tests/fuzz_corpus.h"

namespace {

using namespace corvella::foundation;

class FuzzTag : public TagFieldSource {
public:
    FuzzTag(const std::map<int, std::string>& fields, bool reads) : fields_(fields), reads_(reads) {}
    std::optional<std::string> FieldText(int index) override {
        if (index < 0 || index > 11) return std::nullopt;
        auto it = fields_.find(index);
        return it == fields_.end() ? std::string() : it->second;
    }
    bool ReadTag(const std::string&) override { return reads_; }

private:
    const std::map<int, std::string>& fields_;
    bool reads_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using corvella::fuzz::Check;
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string mask, file;
    std::map<int, std::string> fields;
    size_t pos = 0;
    for (int piece = 0; pos <= text.size(); ++piece) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        const std::string value = text.substr(pos, end - pos);
        if (piece == 0) mask = value;
        else if (piece == 1) file = value;
        else fields[(piece - 2) % 12] = value;
        pos = end + 1;
    }
    FuzzTag v1(fields, (data[0] & 0x20) != 0), v2(fields, (data[0] & 0x20) != 0);
    const MaskExpansion r = ExpandTagMask(file, data[0] & 1, (data[0] >> 1) & 15, mask, 3, 12, v1, v2);
    Check(r.ok() || r.value.empty(), "a failed expansion gives no value");
    Check(r.value.size() <= kMaxExpandedMask || r.value == mask, "the value stays within the limit");
    Check(mask.find('#') != std::string::npos || r.value == mask, "a mask without # comes back as it is");
    for (const std::string& piece : SplitByLikelySeparator(file)) Check(piece.size() <= file.size(), "pieces");
    return 0;
}
