#include "app/foundation/batch.h"

#include <gtest/gtest.h>

#include <set>

namespace corvella {
namespace batch {
namespace {

// Records what the window was asked to show; "cancels" once it has shown
// `cancelAt` items.
class Window : public BatchView {
public:
    explicit Window(int cancelAt) : cancelAt_(cancelAt) {}
    void DoEvents() override { log += "y"; }
    void Show(const std::string& count, const std::string& file, int percent, const std::string& caption) override {
        log += "[" + count + " " + file + " " + std::to_string(percent) + " " + caption + "]";
        ++shown_;
    }
    bool Cancelled() override { return shown_ == cancelAt_; }
    std::string log;

private:
    int cancelAt_, shown_ = 0;
};

TEST(BatchLoop, ShowsEachItemStopsOnCancelAndNamesFailuresOnce) {
    const struct {
        std::vector<std::string> paths;
        std::set<size_t> failing;
        int cancelAt;
        std::string log;
        BatchOutcome out;
    } cases[] = {
        {{"C:\\a\\x.mp3", "y.mp3", "C:\\z.mp3"}, {1}, 0,
         "y[1 of 3 x.mp3 33 c]y[2 of 3 y.mp3 67 c]y[3 of 3 z.mp3 100 c]", {3, false, {"y.mp3"}}},
        {{"a", "b", "c", "d"}, {0, 3}, 2, "y[1 of 4 a 25 c]y[2 of 4 b 50 c]", {2, true, {"a"}}},
        {{"a", "b", "a"}, {0, 2}, 0, "y[1 of 3 a 33 c]y[2 of 3 b 67 c]y[3 of 3 a 100 c]", {3, false, {"a"}}},
        {{"a"}, {0}, 1, "y[1 of 1 a 100 c]", {1, true, {"a"}}},
        {{}, {}, 0, "", {0, false, {}}},
    };
    for (const auto& c : cases) {
        Window window(c.cancelAt);
        std::vector<size_t> worked;
        const BatchOutcome out = RunItems(window, "c", c.paths, [&](size_t i) {
            worked.push_back(i);
            return c.failing.count(i) == 0;
        });
        EXPECT_EQ(window.log, c.log);
        EXPECT_EQ(out.done, c.out.done) << c.log;
        EXPECT_EQ(static_cast<int>(worked.size()), c.out.done) << c.log;
        EXPECT_EQ(out.cancelled, c.out.cancelled) << c.log;
        EXPECT_EQ(out.failed, c.out.failed) << c.log;
    }
    EXPECT_EQ(Percent(1, 8), 12);  // 12.5 to even
    EXPECT_EQ(Percent(3, 8), 38);
    EXPECT_EQ(Percent(1, 0), 0);
}

}  // namespace
}  // namespace batch
}  // namespace corvella
