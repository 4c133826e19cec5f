// Opens arbitrary bytes as an archive and reads every entry it lists: a
// damaged or hostile file must be refused or read without a crash, an
// out-of-bounds access or a runaway allocation.

#include "engine/common/Archive.hpp"
#include "tools/fuzz/ScratchArchive.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ironmoat::fuzz::openScratch("archive", "input.dat");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& file = ironmoat::fuzz::writeScratch(data, size);

    pyx::cmn::Archive archive;
    const std::wstring path(file.begin(), file.end());
    if (archive.open(path, true)) {
        // Copy the index first: reading must not disturb it.
        const std::vector<pyx::cmn::ArchiveEntry> entries = archive.entries();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            std::vector<std::uint8_t> record;
            const bool good = archive.readRecord(i, record);
            if (good && record.size() != entries[i].size)
                std::abort(); // a good read must deliver exactly the recorded size
            // A lookup by name finds the first record of that name, and
            // only that one: a later duplicate stays hidden behind it.
            std::size_t first = 0;
            while (entries[first].name != entries[i].name)
                ++first;
            if (first != i)
                continue;
            std::vector<std::uint8_t> byName;
            if (archive.readEntry(entries[i].name, byName) != good || byName != record)
                std::abort();
        }
    }
    archive.close();
    return 0;
}
