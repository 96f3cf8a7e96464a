#include "app/common/move_history.h"

#include <gtest/gtest.h>

#include <vector>

#include "puzzle/slot_grid.h"

namespace kz {
namespace {

// A 2 x 2 field's layers with the given horizontal slots set.
StickLayers layout(std::vector<size_t> horizontal, std::vector<size_t> vertical = {}) {
    StickLayers l = SlotGrid(2, 2).emptyLayout();
    for (size_t s : horizontal) {
        l.horizontal[s] = 1;
    }
    for (size_t s : vertical) {
        l.vertical[s] = 1;
    }
    return l;
}

TEST(MoveHistory, UndoAndRedoWalkTheMovesAndANewMoveDropsWhatCouldBeRedone) {
    MoveHistory history;
    history.start(layout({}));
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
    history.record(layout({0}));
    history.record(layout({0, 1}));
    EXPECT_EQ(history.current(), layout({0, 1}));
    EXPECT_EQ(history.undo(), layout({0}));
    EXPECT_EQ(history.undo(), layout({}));
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(history.undo(), layout({})) << "nothing before the start";
    EXPECT_EQ(history.redo(), layout({0}));
    ASSERT_TRUE(history.canRedo());

    history.record(layout({0}, {2}));
    EXPECT_FALSE(history.canRedo()) << "the move undone is gone";
    EXPECT_EQ(history.redo(), layout({0}, {2}));
    EXPECT_EQ(history.undo(), layout({0}));

    history.start(layout({3}));
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.current(), layout({3}));
}

TEST(MoveHistory, TheChangesOfTheMovesUpToTheCursorComeNewestFirst) {
    MoveHistory history;
    history.start(layout({}));
    EXPECT_TRUE(history.changesNewestFirst().empty());
    history.record(layout({1}));
    history.record(layout({1}, {4}));
    history.record(layout({}, {4}));  // the first move taken back by hand
    const std::vector<StickSlot> changes = history.changesNewestFirst();
    const std::vector<StickSlot> expected = {{Horizontal, 1}, {Vertical, 4}, {Horizontal, 1}};
    EXPECT_EQ(changes, expected);
    history.undo();
    EXPECT_EQ(history.changesNewestFirst(),
              (std::vector<StickSlot>{{Vertical, 4}, {Horizontal, 1}}))
        << "a move undone is no change";
}

}  // namespace
}  // namespace kz
