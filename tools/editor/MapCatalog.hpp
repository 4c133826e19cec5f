#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ironmoat::editor {

// The maps the editor offers: the player's own in "maps/" (read from disk,
// writable) and the 35 campaign levels (read from the mounted game archive,
// read-only), in that order.
class MapCatalog {
public:
    struct Entry {
        std::wstring label;         // what the list shows
        std::filesystem::path file; // "maps/NAME.mtc" for the player's maps
        std::wstring resourcePath;  // the archive path of a campaign level
        bool campaign = false;
    };

    // Lists "maps/*.mtc" (sorted by name) and the campaign levels.
    void refresh();
    const std::vector<Entry>& entries() const { return m_entries; }
    // The index of the player's map with this file, -1 when not listed.
    int indexOf(const std::filesystem::path& file) const;

    // The bytes of an entry: a player's map straight from the disk (never a
    // cached copy, so a map saved a moment ago reads as saved), a campaign
    // level from the archive. Nothing when it cannot be read.
    static std::optional<std::string> read(const Entry& entry);

private:
    std::vector<Entry> m_entries;
};

} // namespace ironmoat::editor
