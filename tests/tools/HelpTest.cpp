// Every command-line tool answers --help: its usage on standard output,
// nothing on standard error, exit status 0, and no work done.

#include "tests/tools/AssetsToolSupport.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace ironmoat::testing;
namespace fs = std::filesystem;

TEST(ToolsHelp, EveryToolPrintsItsUsageAndSucceeds) {
    const TempDir dir;
    const fs::path out = dir.path() / "out";
    const fs::path err = dir.path() / "err";
    const fs::path tools[] = {
        binaryDir() / "tools/assetgen/assetgen",
        binaryDir() / "tools/bench/ironmoat-bench",
        binaryDir() / "tools/mapcheck/ironmoat-mapcheck",
        binaryDir() / "game/ironmoat-editor",
        binaryDir() / "tools/pyxarc/pyxarc",
        sourceDir() / "tools/fuzz/build.sh",
        sourceDir() / "tools/fuzz/run.sh",
        sourceDir() / "tools/scripts/screenshots.sh",
        sourceDir() / "tools/scripts/test-windows.sh",
        sourceDir() / "tools/scripts/windows-deps.sh",
        sourceDir() / "tools/scripts/windows-package.sh",
        sourceDir() / "tools/scripts/wine-run.sh",
        sourceDir() / "tools/scripts/with-display.sh",
    };
    for (const fs::path& tool : tools) {
        SCOPED_TRACE(tool.string());
        ASSERT_TRUE(fs::exists(tool));
        // From an empty folder, so that a tool taking --help for a file or
        // folder name would leave something behind.
        const std::string command = "cd " + quoted(dir.path()) + " && " + quoted(tool) +
                                    " --help >" + quoted(out) + " 2>" + quoted(err);
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
        const std::string usage = readFile(out);
        EXPECT_EQ(usage.rfind("usage: ", 0), 0u) << usage;
        EXPECT_EQ(readFile(err), "");
        fs::remove(out);
        fs::remove(err);
        EXPECT_TRUE(fs::is_empty(dir.path()));
    }
}
