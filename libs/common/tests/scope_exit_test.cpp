#include "libs/common/scope/scope_exit.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace corvella {
namespace {

// The work runs once, at the end of its own scope, on every way out.
TEST(ScopeExit, RunsOnceOnEveryWayOut) {
    std::string log;
    auto body = [&](int way) {
        const auto outer = OnScopeExit([&] { log += "o"; });
        {
            const auto inner = OnScopeExit([&] { log += "i"; });
            if (way == 1) return;
            if (way == 2) throw std::runtime_error("x");
            log += "b";
        }
        log += "a";
    };
    const struct {
        int way;
        const char* log;
    } cases[] = {{0, "biao"}, {1, "io"}, {2, "io"}};
    for (const auto& c : cases) {
        log.clear();
        try {
            body(c.way);
        } catch (const std::runtime_error&) {
            log += "!";
        }
        EXPECT_EQ(log, std::string(c.log) + (c.way == 2 ? "!" : "")) << c.way;
    }
}

}  // namespace
}  // namespace corvella
