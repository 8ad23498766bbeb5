#include "platform/Assert.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

void AssertionFailed(const char* condition, const char* file, int line) noexcept {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::fflush(stderr);
    std::abort();
}

} // namespace platform
