#include "tools/editor/MapCatalog.hpp"

#include "engine/common/ResourceManager.hpp"
#include "engine/common/ResourceRaw.hpp"
#include "engine/core/WeakSingleton.hpp"
#include "tools/editor/AtomicFile.hpp"
#include "tools/editor/MapName.hpp"

#include <algorithm>
#include <cstdio>

namespace ironmoat::editor {

namespace fs = std::filesystem;

void MapCatalog::refresh() {
    m_entries.clear();
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it("maps", error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file(error) && it->path().extension() == ".mtc") {
            files.push_back(fs::path("maps") / it->path().filename());
        }
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        m_entries.push_back(Entry{MapName::nameOf(file), file, {}, false});
    }
    for (int n = 1; n <= 35; ++n) {
        char path[64];
        std::snprintf(path, sizeof path, "ironmoat/maps/Dunmark-level-%02d.mtc", n);
        char label[64];
        std::snprintf(label, sizeof label, "Campaign level %02d (read-only)", n);
        const std::string p(path), l(label);
        m_entries.push_back(
            Entry{std::wstring(l.begin(), l.end()), {}, std::wstring(p.begin(), p.end()), true});
    }
}

int MapCatalog::indexOf(const fs::path& file) const {
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (!m_entries[i].campaign && m_entries[i].file == file) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::optional<std::string> MapCatalog::read(const Entry& entry) {
    if (!entry.campaign) {
        return AtomicFile::read(entry.file);
    }
    pyx::core::WeakSingleton<pyx::cmn::ResourceManager> manager;
    const std::shared_ptr<pyx::cmn::ResourceRaw> raw = manager->getRaw(entry.resourcePath);
    const std::vector<std::uint8_t>& bytes = pyx::cmn::resourceValue(raw);
    if (bytes.empty()) {
        return std::nullopt;
    }
    return std::string(bytes.begin(), bytes.end());
}

} // namespace ironmoat::editor
