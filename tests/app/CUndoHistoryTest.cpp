#include <gtest/gtest.h>

#include "app/CUndoHistory.h"

namespace {
CUndoHistory::Change Cell(uint32_t row, const std::string& before, const std::string& after)
{
    CUndoHistory::Change change;
    change.row = row;
    change.before = {before};
    change.after = {after};
    return change;
}
}  // namespace

// Steps go back last first and forth in the order taken back; a new step drops what
// could be redone; the saved mark follows the steps; only the last MostSteps stay.
TEST(UndoHistoryTest, StepsGoBackAndForthAndTheSavedMarkFollows)
{
    CUndoHistory history;
    EXPECT_TRUE(history.AtSaved());
    EXPECT_EQ(history.Undo(), nullptr);
    history.Record(Cell(0, "", "1"));
    history.Record(Cell(1, "", "2"));
    EXPECT_FALSE(history.AtSaved()) << "a step being gathered";
    history.Seal();
    history.Record(Cell(2, "", "3"));
    history.RecordPath("", "a.dat");
    history.MarkSaved();
    EXPECT_TRUE(history.AtSaved());

    const CUndoHistory::Step* step = history.Undo();
    ASSERT_NE(step, nullptr);
    EXPECT_TRUE(step->pathChanged);
    EXPECT_EQ(step->changes.front().row, 2u);
    EXPECT_FALSE(history.AtSaved());
    step = history.Undo();
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->changes.size(), 2u) << "one step, as gathered";
    EXPECT_FALSE(history.CanUndo());
    EXPECT_EQ(history.Redo()->changes.size(), 2u);
    EXPECT_EQ(history.Redo()->changes.front().row, 2u);
    EXPECT_TRUE(history.AtSaved()) << "back where it was saved";
    EXPECT_EQ(history.Redo(), nullptr);

    history.Undo();
    history.Record(Cell(5, "x", "y"));
    history.Seal();
    EXPECT_FALSE(history.CanRedo());
    EXPECT_FALSE(history.AtSaved());

    size_t before = history.Bytes();
    for (int i = 0; i < 300; i++) {
        history.Record(Cell(uint32_t(i), "", "9"));
        history.Seal();
    }
    int kept = 0;
    while (history.Undo())
        kept++;
    EXPECT_EQ(kept, int(CUndoHistory::MostSteps));
    EXPECT_GT(history.Bytes(), before);
}
