#include "document/EditHistory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace solvena;

namespace {

// The history's own records, on the heap: a TCell is far too large for the stack
// in such numbers.
struct Fixture {
    TCell slots[11];
    TCell document;
    int32_t undoCount = 0;
    int32_t redoCount = 0;

    EditHistory history() { return EditHistory{slots, undoCount, redoCount}; }

    // A recorded change that leaves the chart in state `n`.
    void change(int n)
    {
        document.level[1][1] = n;
        document.signalName[1] = "S" + std::to_string(n);
        recordSnapshot(document, history());
    }
    // Which state the chart shows: 0 for the empty record.
    int shown() const { return document.level[1][1]; }
    void undo() { undoCommand(document, history()); }
    void redo() { redoCommand(document, history()); }
};

class EditHistoryTest : public ::testing::Test {
protected:
    std::unique_ptr<Fixture> h = std::make_unique<Fixture>();
};

std::vector<int> undos(Fixture& h, int times)
{
    std::vector<int> seen;
    for (int i = 0; i < times; ++i) {
        h.undo();
        seen.push_back(h.shown());
    }
    return seen;
}

std::vector<int> redos(Fixture& h, int times)
{
    std::vector<int> seen;
    for (int i = 0; i < times; ++i) {
        h.redo();
        seen.push_back(h.shown());
    }
    return seen;
}

}  // namespace

TEST_F(EditHistoryTest, StartsWithNothingToUndoOrRedo)
{
    EXPECT_FALSE(canUndo(h->history()));
    EXPECT_FALSE(canRedo(h->history()));
}

TEST_F(EditHistoryTest, ThreeChangesUndoneAndRedone)
{
    h->change(1);
    h->change(2);
    h->change(3);

    EXPECT_EQ(undos(*h, 3), (std::vector<int>{2, 1, 0}));
    EXPECT_TRUE(h->document.signalName[1].empty()) << "the empty record has no names";
    EXPECT_FALSE(canUndo(h->history()));
    EXPECT_TRUE(canRedo(h->history()));

    EXPECT_EQ(redos(*h, 3), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(h->document.signalName[1], "S3");
    EXPECT_FALSE(canRedo(h->history()));
    EXPECT_TRUE(canUndo(h->history()));
}

TEST_F(EditHistoryTest, SevenChangesReachBackSixStepsWithTheLastOneRepeated)
{
    for (int n = 1; n <= 7; ++n)
        h->change(n);
    EXPECT_EQ(h->undoCount, 6);

    EXPECT_EQ(undos(*h, 6), (std::vector<int>{6, 5, 4, 3, 2, 2}));
    EXPECT_FALSE(canUndo(h->history()));

    EXPECT_EQ(redos(*h, 6), (std::vector<int>{2, 3, 4, 5, 6, 6}));
    EXPECT_FALSE(canRedo(h->history()));
}

TEST_F(EditHistoryTest, UndoThenRedoOfTheLastOfSixOffersFiveUndos)
{
    for (int n = 1; n <= 6; ++n)
        h->change(n);
    h->undo();
    h->redo();

    EXPECT_EQ(h->shown(), 6);
    EXPECT_FALSE(canRedo(h->history()));
    EXPECT_EQ(h->undoCount, 5);
    EXPECT_EQ(undos(*h, 5), (std::vector<int>{5, 4, 3, 2, 1}));
    EXPECT_FALSE(canUndo(h->history()));
}

TEST_F(EditHistoryTest, UndoCountNeverPassesSix)
{
    for (int n = 1; n <= 20; ++n)
        h->change(n);
    EXPECT_EQ(h->undoCount, 6);
    EXPECT_EQ(undos(*h, 6), (std::vector<int>{19, 18, 17, 16, 15, 15}));
}

TEST_F(EditHistoryTest, ASnapshotEndsPendingRedoSteps)
{
    h->change(1);
    h->change(2);
    h->change(3);
    h->undo();
    h->undo();
    ASSERT_EQ(h->redoCount, 2);

    h->change(9);
    EXPECT_EQ(h->redoCount, 0);
    EXPECT_FALSE(canRedo(h->history()));

    h->redo();
    EXPECT_EQ(h->shown(), 9) << "no state of the abandoned line may come back";
    EXPECT_EQ(undos(*h, 2), (std::vector<int>{1, 0}));
    EXPECT_EQ(redos(*h, 2), (std::vector<int>{1, 9}));
}

TEST_F(EditHistoryTest, TheStartUpChartAsHeadIsWhatTheFirstUndoRestores)
{
    h->document.level[3][2] = 1;
    h->document.signalName[2] = "CLK";
    const TCell startUp = h->document;
    h->slots[kHistoryHead] = h->document;
    EXPECT_FALSE(canUndo(h->history())) << "the start-up chart itself is no undo step";

    h->change(5);
    h->undo();
    EXPECT_TRUE(h->document == startUp);
}

TEST_F(EditHistoryTest, UndoAndRedoDoNothingWhileNotOffered)
{
    h->change(4);
    h->redo();
    EXPECT_EQ(h->shown(), 4);
    h->undo();
    h->undo();
    EXPECT_EQ(h->shown(), 0);
    EXPECT_EQ(h->redoCount, 1);
    EXPECT_EQ(h->undoCount, 0);
}

TEST_F(EditHistoryTest, ARecordedStateSharesNothingWithTheChart)
{
    h->change(1);
    h->document.signalName[2] = "pending";
    h->change(2);
    h->document.signalName[2] = "later";
    h->document.delay[2][2] = 7;

    h->undo();
    EXPECT_EQ(h->document.signalName[2], "");
    h->redo();
    EXPECT_EQ(h->document.signalName[2], "pending");
    EXPECT_EQ(h->document.delay[2][2], 0);
}
