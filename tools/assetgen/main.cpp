// assetgen OUTDIR          writes every picture of the game into OUTDIR
// assetgen --sheet FILE    writes a contact sheet of all frames to FILE
// assetgen --icons DIR NAME writes the application icon as
//                           DIR/<n>x<n>/apps/NAME.png, one file per size
// The output depends on nothing but this program: same bytes on every run.

#include "tools/assetgen/Pictures.hpp"

#include <filesystem>
#include <iostream>
#include <string>

namespace {

const char* const Usage = "usage: assetgen OUTDIR | assetgen --sheet FILE.png | assetgen --icons DIR NAME |\n"
                          "       assetgen --help\n";

} // namespace

int main(int argc, char** argv) {
    using namespace ironmoat::assetgen;
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << Usage
                  << "\n"
                     "  OUTDIR          writes every picture of the game into the folder "
                     "OUTDIR\n"
                     "  --sheet FILE    writes a contact sheet of all frames to FILE\n"
                     "  --icons DIR NAME  writes the application icon in every size as\n"
                     "                  DIR/<n>x<n>/apps/NAME.png\n"
                     "\n"
                     "The output depends on nothing but this program: same bytes on "
                     "every run.\n";
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--sheet") {
        if (!renderSheet().saveToFile(argv[2])) {
            std::cerr << "assetgen: cannot write " << argv[2] << '\n';
            return 1;
        }
        return 0;
    }
    if (argc == 4 && std::string(argv[1]) == "--icons") {
        for (const int size : iconSizes()) {
            const std::string n = std::to_string(size);
            const std::filesystem::path dir =
                std::filesystem::path(argv[2]) / (n + "x" + n) / "apps";
            std::error_code ec;
            std::filesystem::create_directories(dir, ec);
            const std::string path = (dir / (std::string(argv[3]) + ".png")).string();
            if (ec || !renderIcon(size).saveToFile(path)) {
                std::cerr << "assetgen: cannot write " << path << '\n';
                return 1;
            }
        }
        return 0;
    }
    if (argc != 2 || std::string(argv[1]).rfind("--", 0) == 0) {
        std::cerr << Usage;
        return 2;
    }
    const std::string dir = argv[1];
    for (const Picture& p : allPictures()) {
        const std::string path = dir + "/" + p.file;
        if (!renderPicture(p).saveToFile(path)) {
            std::cerr << "assetgen: cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}
