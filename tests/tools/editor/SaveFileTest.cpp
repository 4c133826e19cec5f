#include "tools/editor/AtomicFile.hpp"
#include "tools/editor/MapName.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <vector>

using ironmoat::editor::AtomicFile;
using ironmoat::editor::MapName;
namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "ironmoat-editor-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            m_path = pattern;
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// Lowers the largest file size this process may write, as a full disk
// would stop the write; a write past it fails with EFBIG instead of
// raising the signal, which is ignored meanwhile.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_applied = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool applied() const { return m_applied; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_applied = false;
};

} // namespace

TEST(AtomicFile, ReplacesTheWholeFileAndAFailedWriteLeavesTheOldOneIntact) {
    TempFolder folder;
    const fs::path target = folder.path() / "mine.mtc";
    const std::string oldBytes(702, 'b');
    ASSERT_FALSE(AtomicFile::write(target, oldBytes).has_value());
    EXPECT_EQ(AtomicFile::read(target), oldBytes);

    const std::string newBytes(702, 'x');
    {
        FileSizeLimit limit(100);
        ASSERT_TRUE(limit.applied());
        const std::optional<std::string> error = AtomicFile::write(target, newBytes);
        ASSERT_TRUE(error.has_value());
        EXPECT_NE(error->find("cannot write"), std::string::npos) << *error;
    }
    EXPECT_EQ(AtomicFile::read(target), oldBytes);
    // The half-written temporary file is gone: only the map is left.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);

    // A folder that does not exist: nothing is written anywhere.
    EXPECT_TRUE(AtomicFile::write(folder.path() / "none" / "a.mtc", newBytes).has_value());

    ASSERT_FALSE(AtomicFile::write(target, newBytes).has_value());
    EXPECT_EQ(AtomicFile::read(target), newBytes);
}

TEST(MapName, RefusesNamesThatMakeNoMapFile) {
    for (const std::wstring& bad : std::vector<std::wstring>{
             L"", L".", L"..", L"a/b", L"..\\x", L"what?", L"a:b", L"pipe|", L"star*", L"q\"",
             L"<x>", L"tab\tname", L"dot.", L".hidden", L"CON", L"lpt1", std::wstring(65, L'a')}) {
        EXPECT_TRUE(MapName::problem(bad).has_value()) << std::string(bad.begin(), bad.end());
    }
    for (const std::wstring& good :
         std::vector<std::wstring>{L"mine", L"Big river 2", L"castle-wall_v2", L"con1",
                                   std::wstring(64, L'a'), std::wstring(L"\u00e9t\u00e9")}) {
        EXPECT_FALSE(MapName::problem(good).has_value());
    }
    EXPECT_EQ(MapName::normalise(L"  mine.mtc "), L"mine");
    EXPECT_EQ(MapName::normalise(L".mtc"), L".mtc");
    EXPECT_EQ(MapName::fileFor(L"mine"), fs::path("maps/mine.mtc"));
    EXPECT_EQ(MapName::nameOf("maps/mine.mtc"), L"mine");
}
