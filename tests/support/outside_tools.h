#pragma once

// Tests that drive an outside program (the browser, the window manager):
// skipped on a developer's machine without it, failed where the CI must
// have it (CI set, or ZELKOR_REQUIRE_OUTSIDE_TOOLS=ON from the CMake option).

#include <cstdlib>
#include <gtest/gtest.h>
#include <string_view>

namespace zelkor::test {

inline bool outsideToolsRequired() {
    const char* ci = std::getenv("CI");
    const char* required = std::getenv("ZELKOR_REQUIRE_OUTSIDE_TOOLS");
    return (ci != nullptr && *ci != '\0') ||
           (required != nullptr && std::string_view(required) == "ON");
}

} // namespace zelkor::test

// Ends the test when `present` is false.
#define ZELKOR_NEED_OUTSIDE_TOOL(present, tool)                                                    \
    do {                                                                                           \
        if (!(present) && ::zelkor::test::outsideToolsRequired())                                  \
            FAIL() << tool << " is missing and the outside tools are required";                    \
        if (!(present))                                                                            \
            GTEST_SKIP() << tool << " is not installed (scripts/setup.sh installs it)";            \
    } while (false)
