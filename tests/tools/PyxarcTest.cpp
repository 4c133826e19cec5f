// Runs the built pyxarc binary on real files in a temporary folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <zlib.h>

namespace fs = std::filesystem;

namespace {

std::string crcHex(const std::string& data) {
    char text[16];
    std::snprintf(
        text, sizeof text, "%08lx",
        ::crc32(0L, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    return text;
}

struct ToolRun {
    int code = -1;
    std::string out;
    std::string err;
};

class ToolsPyxarc : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "pyx_pyxarc_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        tool = fs::path(IRONMOAT_BINARY_DIR) / "tools" / "pyxarc" / "pyxarc";
        ASSERT_TRUE(fs::exists(tool)) << tool;
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs pyxarc with args (already shell-quoted) inside the folder.
    ToolRun run(const std::string& args) const {
        const std::string outFile = (dir / ".out").string();
        const std::string errFile = (dir / ".err").string();
        const std::string command = "cd '" + dir.string() + "' && '" + tool.string() + "' " + args +
                                    " >'" + outFile + "' 2>'" + errFile + "'";
        const int status = std::system(command.c_str());
        ToolRun r;
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = read(dir / ".out");
        r.err = read(dir / ".err");
        fs::remove(dir / ".out");
        fs::remove(dir / ".err");
        return r;
    }
    static std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void put(const std::string& name, const std::string& content) const {
        fs::create_directories((dir / name).parent_path());
        std::ofstream(dir / name, std::ios::binary) << content;
    }
    // Names of files a failed run must not leave behind.
    bool hasTempFiles() const {
        for (const auto& e : fs::recursive_directory_iterator(dir)) {
            if (e.path().filename().string().rfind("PYXArchive_tmp_", 0) == 0) {
                return true;
            }
        }
        return false;
    }
    // An error is exactly one line naming its subject.
    static void expectOneLine(const ToolRun& r, const std::string& mention) {
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.err.rfind("pyxarc: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(mention), std::string::npos) << r.err;
    }

    fs::path dir;
    fs::path tool;
};

} // namespace

TEST_F(ToolsPyxarc, RoundTripOfAFolderTree) {
    std::string binary(10000, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) {
        binary[i] = static_cast<char>(i * 7 + 3);
    }
    put("src/readme.txt", "hello\n");
    put("src/maps/level-01.mtc", "map one");
    put("src/maps/level-02.mtc", "");
    put("src/pics/deep/tiles.png", binary);

    ToolRun r = run("create game.dat src");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;

    r = run("list game.dat");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "maps\\level-01.mtc\t7\t" + crcHex("map one") +
                         "\nmaps\\level-02.mtc\t0\t00000000\n"
                         "pics\\deep\\tiles.png\t10000\t" +
                         crcHex(binary) + "\nreadme.txt\t6\t" + crcHex("hello\n") + "\n");

    r = run("extract game.dat -C out");
    ASSERT_EQ(r.code, 0) << r.err;
    for (const char* name :
         {"readme.txt", "maps/level-01.mtc", "maps/level-02.mtc", "pics/deep/tiles.png"}) {
        EXPECT_EQ(read(dir / "out" / name), read(dir / "src" / name)) << name;
    }

    // The same inputs give the same bytes.
    ASSERT_EQ(run("create again.dat src").code, 0);
    EXPECT_EQ(read(dir / "game.dat"), read(dir / "again.dat"));

    r = run("verify game.dat");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("4 entries OK"), std::string::npos) << r.out;
}

TEST_F(ToolsPyxarc, NamedFilesAddRemoveAndSelectiveExtract) {
    put("a.bin", "AAAA");
    put("b.bin", "BB");
    ASSERT_EQ(run("create x.dat 'Fonts/./Face.ttf=a.bin' 'dir\\b=b.bin'").code, 0);
    ToolRun r = run("list x.dat");
    EXPECT_EQ(r.out,
              "Fonts\\Face.ttf\t4\t" + crcHex("AAAA") + "\ndir\\b\t2\t" + crcHex("BB") + "\n");

    ASSERT_EQ(run("add x.dat 'dir/b=a.bin' c=b.bin").code, 0);
    ASSERT_EQ(run("remove x.dat Fonts/Face.ttf").code, 0);
    r = run("list x.dat");
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2) << r.out;
    EXPECT_EQ(r.out.find("Fonts"), std::string::npos);

    r = run("extract x.dat dir/b -C sel");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(read(dir / "sel" / "dir" / "b"), "AAAA");
    EXPECT_FALSE(fs::exists(dir / "sel" / "c"));
}

TEST_F(ToolsPyxarc, VerifyAndExtractCatchAFlippedByte) {
    put("src/one.txt", "first file");
    put("src/two.txt", "second file");
    ASSERT_EQ(run("create v.dat src").code, 0);
    std::string bytes = read(dir / "v.dat");
    bytes[bytes.size() - 2] ^= 0x20;
    std::ofstream(dir / "v.dat", std::ios::binary) << bytes;

    ToolRun r = run("verify v.dat");
    EXPECT_EQ(r.code, 1);
    expectOneLine(r, "two.txt");

    r = run("extract v.dat -C out");
    EXPECT_EQ(r.code, 1);
    expectOneLine(r, "two.txt");
    EXPECT_FALSE(fs::exists(dir / "out" / "one.txt")) << "nothing written when one entry is bad";

    // Cut short inside the data region: the index still reads.
    std::ofstream(dir / "v.dat", std::ios::binary) << bytes.substr(0, bytes.size() - 3);
    r = run("verify v.dat");
    EXPECT_EQ(r.code, 1);
    expectOneLine(r, "v.dat");
}

TEST_F(ToolsPyxarc, ErrorsAreOneLineAndLeaveNothingBehind) {
    put("src/f.txt", "keep me");
    ASSERT_EQ(run("create keep.dat src").code, 0);
    const std::string original = read(dir / "keep.dat");

    struct Case {
        std::string args;
        int code;
        std::string mention;
    };
    const std::vector<Case> cases = {
        {"", 2, "no verb"},
        {"frobnicate keep.dat", 2, "frobnicate"},
        {"list", 2, "no archive"},
        {"create keep.dat missing=nothere.bin", 2, "nothere.bin"},
        {"create keep.dat nofolder", 2, "nofolder"},
        {"create keep.dat '../up=src/f.txt'", 2, "../up"},
        {"create keep.dat '/abs=src/f.txt'", 2, "/abs"},
        {"add keep.dat missing=nothere.bin", 2, "nothere.bin"},
        {"add absent.dat x=src/f.txt", 1, "absent.dat"},
        {"list absent.dat", 1, "absent.dat"},
        {"list src/f.txt", 1, "src/f.txt"},
        {"remove keep.dat nope.txt", 1, "nope.txt"},
        {"remove keep.dat", 2, "remove"},
        {"extract keep.dat nope.txt -C out", 1, "nope.txt"},
        {"extract keep.dat -C", 2, "-C"},
        {"verify keep.dat extra", 2, "verify"},
    };
    for (const Case& c : cases) {
        const ToolRun r = run(c.args);
        EXPECT_EQ(r.code, c.code) << c.args << ": " << r.err;
        expectOneLine(r, c.mention);
        EXPECT_FALSE(hasTempFiles()) << c.args;
        EXPECT_EQ(read(dir / "keep.dat"), original) << c.args;
        EXPECT_FALSE(fs::exists(dir / "absent.dat")) << c.args;
    }
}

TEST_F(ToolsPyxarc, HostileEntryNamesAreNotExtracted) {
    // A hand-made archive whose only entry climbs out of the target folder.
    std::string image = "PYXArchive";
    image += std::string("\x01\x00\x00\x00\x01\x00", 6);
    const std::string name = "..\\evil";
    image += static_cast<char>(name.size());
    image += '\0';
    image += name;
    image += std::string("\x00\x00\x00\x00\x01\x00\x00\x00", 8);
    image += std::string("\xB7\xEF\xDC\x83", 4); // crc of "x"
    image += "x";
    std::ofstream(dir / "evil.dat", std::ios::binary) << image;
    fs::create_directory(dir / "out");
    const ToolRun r = run("extract evil.dat -C out");
    EXPECT_EQ(r.code, 1);
    expectOneLine(r, "unsafe name");
    EXPECT_FALSE(fs::exists(dir / "evil"));
}

TEST_F(ToolsPyxarc, VerifyChecksEveryRecordAndEveryName) {
    // Found by fuzzing `verify`: it checked entries by name, so a damaged
    // record behind an earlier one of the same name passed, and names no
    // lookup can reach (empty, or climbing out of the root) passed too.
    auto record = [](const std::string& name, std::uint32_t offset, std::uint32_t size,
                     const std::string& data) {
        std::string r;
        r += static_cast<char>(name.size());
        r += '\0';
        r += name;
        const unsigned long crc = ::crc32(0L, reinterpret_cast<const Bytef*>(data.data()),
                                          static_cast<uInt>(data.size()));
        for (const std::uint32_t v : {offset, size, static_cast<std::uint32_t>(crc)}) {
            for (int k = 0; k < 4; ++k) {
                r += static_cast<char>(v >> (8 * k));
            }
        }
        return r;
    };
    auto archive = [](int count, const std::string& records, const std::string& data) {
        return "PYXArchive" + std::string(1, static_cast<char>(count)) +
               std::string("\x00\x00\x00\x01\x00", 5) + records + data;
    };
    struct Case {
        std::string file;
        std::string image;
        std::string mention;
    };
    const std::vector<Case> damaged = {
        {"dup.dat",
         archive(2, record("a.txt", 0, 4, "good") + record("a.txt", 4, 3, "BAD"), "goodbad"),
         "\"a.txt\" is damaged"},
        {"twice.dat",
         archive(2, record("a.txt", 0, 4, "good") + record("a.txt", 0, 4, "good"), "good"),
         "\"a.txt\" is stored twice"},
        {"noname.dat", archive(1, record("", 0, 4, "good"), "good"), "unsafe or unnormalized name"},
        {"climb.dat", archive(1, record("..\\x", 0, 4, "good"), "good"),
         "unsafe or unnormalized name"},
        {"slash.dat", archive(1, record("maps/x.mtc", 0, 4, "good"), "good"),
         "unsafe or unnormalized name"},
    };
    for (const Case& c : damaged) {
        put(c.file, c.image);
        const ToolRun r = run("verify " + c.file);
        EXPECT_EQ(r.code, 1) << c.file << ": " << r.out;
        EXPECT_NE(r.err.find(c.mention), std::string::npos) << c.file << ": " << r.err;
        EXPECT_EQ(r.out, "") << c.file;
    }
    // Shared and overlapping data is allowed by the format.
    put("shared.dat", archive(2, record("a", 0, 4, "good") + record("b", 1, 3, "ood"), "good"));
    const ToolRun r = run("verify shared.dat");
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "shared.dat: 2 entries OK\n");
}

TEST_F(ToolsPyxarc, HelpExplainsEveryVerb) {
    const ToolRun r = run("--help");
    EXPECT_EQ(r.code, 0);
    for (const char* verb : {"create", "list", "extract", "add", "remove", "verify", "-C"}) {
        EXPECT_NE(r.out.find(verb), std::string::npos) << verb;
    }
}
