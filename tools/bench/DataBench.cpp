#include "tools/bench/Bench.hpp"

#include "engine/common/Archive.hpp"

#include <cstdio>
#include <zlib.h>

namespace ironmoat::bench {

namespace {

constexpr int Passes = 15;

double seconds(BenchClock::duration d) {
    return std::chrono::duration<double>(d).count();
}

std::wstring widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

} // namespace

std::vector<Figure> runDataBench(const std::vector<std::string>& archives) {
    std::vector<std::unique_ptr<pyx::cmn::Archive>> opened;
    std::vector<std::FILE*> files;
    for (const std::string& path : archives) {
        auto archive = std::make_unique<pyx::cmn::Archive>();
        if (!archive->open(widen(path), true)) {
            std::fprintf(stderr, "ironmoat-bench: cannot open archive %s\n", path.c_str());
            continue;
        }
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) {
            std::fprintf(stderr, "ironmoat-bench: cannot open file %s\n", path.c_str());
            continue;
        }
        opened.push_back(std::move(archive));
        files.push_back(file);
    }

    std::size_t entries = 0;
    std::size_t bytesPerPass = 0;
    int failures = 0;
    std::vector<double> archiveRates;
    std::vector<double> floorRates;
    std::vector<std::uint8_t> bytes;
    std::vector<unsigned char> buffer;
    int floorMismatches = 0;
    // Passes alternate, so both see the same page cache and machine load.
    for (int pass = 0; pass < Passes; ++pass) {
        std::size_t total = 0;
        const auto start = BenchClock::now();
        for (auto& archive : opened) {
            for (const auto& entry : archive->entries()) {
                if (!archive->readEntry(entry.name, bytes))
                    ++failures;
                total += bytes.size();
                if (pass == 0)
                    ++entries;
            }
        }
        const auto mid = BenchClock::now();
        std::size_t floorTotal = 0;
        for (std::size_t a = 0; a < opened.size(); ++a) {
            for (const auto& entry : opened[a]->entries()) {
                buffer.resize(entry.size);
                const long position =
                    static_cast<long>(opened[a]->dataBase()) + static_cast<long>(entry.offset);
                std::fseek(files[a], position, SEEK_SET);
                const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), files[a]);
                if (crc32(0L, buffer.data(), static_cast<uInt>(got)) != entry.crc)
                    ++floorMismatches;
                floorTotal += got;
            }
        }
        const auto end = BenchClock::now();
        bytesPerPass = total;
        archiveRates.push_back(static_cast<double>(total) / seconds(mid - start) / 1048576.0);
        floorRates.push_back(static_cast<double>(floorTotal) / seconds(end - mid) / 1048576.0);
    }
    for (std::FILE* file : files)
        std::fclose(file);

    const double archiveRate = percentile(archiveRates, 50);
    const double floorRate = percentile(floorRates, 50);
    const double ratio = floorRate > 0.0 ? 100.0 * archiveRate / floorRate : 0.0;
    const std::string note = std::to_string(opened.size()) + " archives, " +
                             std::to_string(entries) + " entries, " + std::to_string(bytesPerPass) +
                             " bytes a pass, " + std::to_string(Passes) + " passes, CRC failures " +
                             std::to_string(failures / Passes) + ", floor CRC mismatches " +
                             std::to_string(floorMismatches / Passes);
    std::vector<Figure> figures;
    figures.push_back({"data.readEntry", "MiB/s", archiveRate, true, floorRate, "", 0.0, note});
    figures.push_back({"data.ratio", "%", ratio, true, 100.0, ">=", 80.0, "readEntry vs floor"});
    return figures;
}

} // namespace ironmoat::bench
