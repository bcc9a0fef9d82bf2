#include "app/foundation/batch.h"

#include <algorithm>

#include "app/foundation/paths.h"
#include "libs/common/numeric/rounding.h"

namespace corvella {
namespace batch {

int Percent(int position, int total) {
    if (total <= 0) return 0;
    return static_cast<int>(RoundHalfEven(static_cast<double>(position) * 100.0 / total));
}

BatchOutcome RunItems(BatchView& view, const std::string& caption, const std::vector<std::string>& paths,
                      const std::function<bool(size_t)>& work) {
    BatchOutcome out;
    const int total = static_cast<int>(paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        view.DoEvents();
        const int k = static_cast<int>(i) + 1;
        view.Show(std::to_string(k) + " of " + std::to_string(total), GetFileTitle(paths[i], true),
                  Percent(k, total), caption);
        const bool ok = work(i);
        ++out.done;
        if (!ok && std::find(out.failed.begin(), out.failed.end(), paths[i]) == out.failed.end())
            out.failed.push_back(paths[i]);
        if (view.Cancelled()) {
            out.cancelled = true;
            break;
        }
    }
    return out;
}

}  // namespace batch
}  // namespace corvella
