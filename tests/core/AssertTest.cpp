#include "engine/core/Assert.hpp"
#include "engine/core/Date.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

void expectAnswer(int answer) {
    PYX_ASSERT(answer == 42);
}
constexpr int ExpectAnswerLine = __LINE__ - 2;

} // namespace

// The report names the expression, the source's path below the project's
// root (engine sources below the engine's folder) and the line.
TEST(CoreAssertDeathTest, ReportsTheExpressionTheShortSourcePathAndTheLine) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    pyx::core::Date bad = pyx::core::Date::fromFields(118, 0, 1, 25, 0, 0);
    EXPECT_DEATH(bad.normalize(), "Assertion failed: isValid\\(\\), file core/date, line .+\n");
    EXPECT_DEATH(expectAnswer(41),
                 "Assertion failed: answer == 42, file tests/core/asserttest, line " +
                     std::to_string(ExpectAnswerLine) + "\n");
    EXPECT_EXIT(expectAnswer(42); std::exit(0), ::testing::ExitedWithCode(0), "");
}

// A build names its sources absolute, relative to its build folder or with
// backslashes; the report reads the same whichever it did.
TEST(CoreAssert, ShortPathsDoNotDependOnHowTheBuildNamesItsSources) {
    struct Case {
        const char* file;
        const char* assertSource;
        const char* expected;
    };
    const Case cases[] = {
        {"/home/ci/moat/engine/common/TickTimerServer.cpp", "/home/ci/moat/engine/core/Assert.cpp",
         "common/ticktimerserver"},
        {"/srv/game/moat/game/world/Terrain.cpp", "/srv/game/moat/engine/core/Assert.cpp",
         "game/world/terrain"},
        {"../../tests/tools/HelpTest.cpp", "../engine/core/Assert.cpp", "tests/tools/helptest"},
        {"../../../out/moat/tools/pyxarc/main.cpp", "../../out/moat/engine/core/Assert.cpp",
         "tools/pyxarc/main"},
        {"C:\\src\\moat\\engine\\gui\\Window.cpp", "C:\\src\\moat\\engine\\core\\Assert.cpp",
         "gui/window"},
    };
    for (const Case& c : cases) {
        char out[256];
        pyx::core::_impl::shortSourcePath(c.file, c.assertSource, "engine/core/Assert.cpp", out,
                                          sizeof out);
        EXPECT_STREQ(out, c.expected) << c.file;
    }
}
