// The owners' rules: each handle is closed exactly once, whatever moves and
// resets it went through, and a COM scope undoes only an initialisation
// that took.
#include "util/com_scope_win.h"
#include "util/unique_handle_win.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

std::vector<int> gClosed;

// -1 as "nothing held", as files have, so that 0 is a handle like any other.
struct CountedKind {
    using Type = int;
    static Type invalid() noexcept { return -1; }
    static void close(Type handle) noexcept { gClosed.push_back(handle); }
};
using Counted = velmora::UniqueHandle<CountedKind>;

TEST(UniqueHandle, ClosesEachHandleOnceThroughMovesAndResets) {
    gClosed.clear();
    {
        Counted a(0);
        Counted b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_TRUE(b);
        Counted c(1);
        c = std::move(b);  // closes 1, takes 0
        EXPECT_EQ(gClosed, std::vector<int>{1});
        c = std::move(c);
        EXPECT_EQ(c.get(), 0);
        c.reset(2);  // closes 0
        EXPECT_EQ(c.release(), 2);
        EXPECT_FALSE(c);
        c.reset();
    }
    EXPECT_EQ(gClosed, (std::vector<int>{1, 0}));
}

HRESULT gInitResult = S_OK;
int gUninitialised = 0;

struct FakeComKind {
    static HRESULT initialize() noexcept { return gInitResult; }
    static void uninitialize() noexcept { ++gUninitialised; }
};

TEST(ComScope, UndoesOnlyAnInitialisationThatTook) {
    const struct {
        HRESULT result;
        int undone;
    } cases[] = {{S_OK, 1}, {S_FALSE, 1}, {RPC_E_CHANGED_MODE, 0}, {E_OUTOFMEMORY, 0}};
    for (const auto& c : cases) {
        gInitResult = c.result;
        gUninitialised = 0;
        { const velmora::ComScope<FakeComKind> scope; }
        EXPECT_EQ(gUninitialised, c.undone) << std::hex << c.result;
    }
}

}  // namespace
