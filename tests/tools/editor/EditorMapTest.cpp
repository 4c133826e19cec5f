#include "tools/editor/EditorMap.hpp"
#include "tools/editor/MapDocument.hpp"

#include <gtest/gtest.h>

#include <string>

using ironmoat::editor::EditorMap;
using ironmoat::editor::MapDocument;
using ironmoat::editor::Tool;

namespace {

std::string rowOf(const EditorMap& map, int y) {
    std::string row;
    for (int x = 0; x < EditorMap::Size; ++x) {
        row.push_back(static_cast<char>(map.at(x, y)));
    }
    return row;
}

} // namespace

TEST(EditorMap, TerrainReplacesTheCellAndAnyMarkerCoveringIt) {
    EditorMap map;
    EXPECT_TRUE(map.paint(Tool::Brick, 3, 4));
    EXPECT_FALSE(map.paint(Tool::Brick, 3, 4)); // same byte: no change
    EXPECT_TRUE(map.paint(Tool::Water, 3, 4));
    EXPECT_EQ(map.at(3, 4), '-');
    EXPECT_FALSE(map.paint(Tool::Metal, 26, 0));
    EXPECT_FALSE(map.paint(Tool::Metal, -1, 0));

    // A base at (12, 24) covers (12..13, 24..25); wood on its far cell
    // removes it.
    ASSERT_TRUE(map.paint(Tool::Base, 12, 24));
    EXPECT_TRUE(map.paint(Tool::Wood, 13, 25));
    EXPECT_EQ(map.at(12, 24), ' ');
    EXPECT_EQ(map.at(13, 25), 's');
    EXPECT_TRUE(map.markers().empty());

    // Erasing a marker's cell removes the marker; erasing beside it does not.
    ASSERT_TRUE(map.paint(Tool::EnemySpawn, 0, 0));
    EXPECT_FALSE(map.erase(2, 0));
    EXPECT_TRUE(map.erase(1, 1));
    EXPECT_TRUE(map.markers().empty());
}

TEST(EditorMap, MarkersTakeWholeFootprintsInsideTheFieldAndReplaceOverlappingMarkers) {
    EditorMap map;
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 4; ++y) {
            map.paint(Tool::Brick, x, y);
        }
    }
    // The base's footprint from (2, 2) is cleared; the bricks around stay.
    ASSERT_TRUE(map.paint(Tool::Base, 2, 2));
    EXPECT_EQ(rowOf(map, 2).substr(0, 4), "bb1 ");
    EXPECT_EQ(rowOf(map, 3).substr(0, 4), "bb  ");
    EXPECT_EQ(map.at(1, 1), 'b');

    // A footprint past the edge moves in to lie inside the field.
    ASSERT_TRUE(map.paint(Tool::EnemySpawn, 25, 25));
    EXPECT_EQ(map.at(24, 24), '0');

    // Footprints that only touch the base's stay; one that overlaps all
    // three replaces them.
    map.paint(Tool::HumanSpawn, 4, 2);
    map.paint(Tool::EnemySpawn, 2, 4);
    ASSERT_EQ(map.markers().size(), 4u);
    map.paint(Tool::HumanSpawn, 3, 3);
    const auto markers = map.markers();
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_EQ(markers[0].x, 3);
    EXPECT_EQ(markers[0].y, 3);
    EXPECT_EQ(markers[0].digit, '2');
    EXPECT_EQ(map.at(2, 2), ' ');
    EXPECT_EQ(map.at(4, 2), ' ');
}

TEST(EditorMap, SavesTheGameFormAndReadsWhatTheGameReads) {
    // A file typed elsewhere: CR LF ends, a short line, a 30-byte line, an
    // unknown letter, a digit no team uses, and only 3 lines.
    const std::string typed = "bbxx\r\nf-s 1 B3\r\n" + std::string(26, 'x') + "bbbb\n";
    int unknown = -1;
    const EditorMap map = EditorMap::fromLayout(ironmoat::cmn::readLevel(typed), &unknown);
    EXPECT_EQ(unknown, 4); // the CR of line 1 (column 4), "B", "3", the CR of line 2
    const std::string saved = map.serialize();
    ASSERT_EQ(saved.size(), 26u * 27u);
    for (int y = 0; y < 26; ++y) {
        EXPECT_EQ(saved[static_cast<std::size_t>(y * 27 + 26)], '\n') << "line " << y;
    }
    EXPECT_EQ(saved.substr(0, 27), "bbxx                      \n");
    EXPECT_EQ(saved.substr(27, 27), "f-s 1                     \n");
    EXPECT_EQ(saved.substr(54, 27), std::string(26, 'x') + "\n");
    std::string blankRows;
    for (int i = 0; i < 23; ++i) {
        blankRows += std::string(26, ' ') + "\n";
    }
    EXPECT_EQ(saved.substr(81), blankRows);
    // The saved file reads back as the same map, markers included.
    const ironmoat::cmn::LevelLayout original = ironmoat::cmn::readLevel(typed);
    const ironmoat::cmn::LevelLayout reread = ironmoat::cmn::readLevel(saved);
    EXPECT_EQ(reread.kinds, original.kinds);
    ASSERT_EQ(reread.markers.size(), 1u);
    EXPECT_EQ(reread.markers[0], (ironmoat::cmn::MapMarker{4, 1, 1}));
    EXPECT_EQ(EditorMap::fromLayout(reread), map);
}

TEST(MapDocument, AStrokeIsOneUndoStepAndRedoRestoresIt) {
    MapDocument doc;
    doc.beginStroke();
    for (int x = 2; x <= 9; ++x) {
        doc.paint(Tool::Brick, x, 5);
    }
    doc.endStroke();
    const EditorMap wall = doc.map();
    EXPECT_TRUE(doc.modified());

    doc.beginStroke();
    doc.erase(4, 5);
    doc.paint(Tool::Base, 12, 24);
    doc.endStroke();

    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(doc.map(), wall);
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(doc.map(), EditorMap());
    EXPECT_FALSE(doc.modified());
    EXPECT_FALSE(doc.canUndo());
    EXPECT_TRUE(doc.canRedo());
    EXPECT_FALSE(doc.undo());
    ASSERT_TRUE(doc.redo());
    EXPECT_EQ(doc.map(), wall);

    // A new change forgets what could be redone; a stroke that changed
    // nothing is no step at all.
    doc.paint(Tool::Tree, 0, 0);
    doc.endStroke();
    doc.beginStroke();
    doc.paint(Tool::Tree, 0, 0);
    doc.endStroke();
    EXPECT_FALSE(doc.redo());
    ASSERT_TRUE(doc.undo());
    EXPECT_EQ(doc.map(), wall);

    doc.markSaved("maps/wall.mtc");
    EXPECT_FALSE(doc.modified());
    EXPECT_FALSE(doc.readOnly());
}
