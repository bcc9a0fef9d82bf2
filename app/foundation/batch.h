// The loop of every batch over files: before each item the waiting
// messages run and the window shows "k of n", the file's name, the share
// done and the batch's caption; after each item the batch stops once the
// user has cancelled. Items that fail are named once, in their order.
//
// Portable: the progress window is reached through BatchView; the program
// backs it with the batch progress window (app/foundation/win32/progress).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace corvella {
namespace batch {

class BatchView {
public:
    virtual ~BatchView() = default;
    // Before each item: lets waiting messages run (a Cancel).
    virtual void DoEvents() {}
    // Before each item: "k of n", the file's name with its extension, the
    // share done in percent and the caption.
    virtual void Show(const std::string& countText, const std::string& fileName, int percent,
                      const std::string& caption) = 0;
    // After each item: true once the user has cancelled.
    virtual bool Cancelled() { return false; }
};

struct BatchOutcome {
    int done = 0;            // items worked on, failed ones included
    bool cancelled = false;  // stopped by the user; the items done stay done
    std::vector<std::string> failed;  // each failed item's path once, in order
};

// Runs work(i) for the items 0 to paths.size() - 1; work answers false when
// the item failed. The window shows each item by the name part of its path.
BatchOutcome RunItems(BatchView& view, const std::string& caption, const std::vector<std::string>& paths,
                      const std::function<bool(size_t)>& work);

// The item's share of the batch in percent: position over total times 100,
// rounded half to even; 0 for an empty batch.
int Percent(int position, int total);

}  // namespace batch
}  // namespace corvella
