#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "mivo/ScopedHandle.h"

namespace {

std::vector<int> closed;

struct RecordingTraits {
    static int invalid() noexcept { return 0; }
    static void close(int value) noexcept { closed.push_back(value); }
};
using Owner = mivo::UniqueResource<int, RecordingTraits>;

TEST(UniqueResource, ClosesEveryValueItOwnsExactlyOnce) {
    const struct { const char* name; void (*run)(); std::vector<int> closed; } cases[] = {
        {"scope end", [] { Owner a(1); }, {1}},
        {"empty", [] { Owner a; a.reset(); }, {}},
        {"release", [] { Owner a(1); EXPECT_EQ(a.release(), 1); EXPECT_FALSE(a); }, {}},
        {"reset", [] { Owner a(1); a.reset(2); EXPECT_EQ(a.get(), 2); }, {1, 2}},
        {"move", [] { Owner a(1); Owner b(std::move(a)); EXPECT_FALSE(a); EXPECT_EQ(b.get(), 1); }, {1}},
        {"move assign", [] { Owner a(1); Owner b(2); b = std::move(a); EXPECT_EQ(b.get(), 1); }, {2, 1}},
        {"self move", [] { Owner a(1); Owner& same = a; a = std::move(same); EXPECT_EQ(a.get(), 1); }, {1}},
    };
    for (const auto& c : cases) {
        closed.clear();
        c.run();
        EXPECT_EQ(closed, c.closed) << c.name;
    }
}

}  // namespace
