#include "document/Document.h"

#include <gtest/gtest.h>

#include <memory>

using namespace solvena;

TEST(InvertLevel, SwapsLowAndHighOnly)
{
    EXPECT_EQ(invertLevel(0), 1);
    EXPECT_EQ(invertLevel(1), 0);
    EXPECT_EQ(invertLevel(2), 2);
    EXPECT_EQ(invertLevel(7), 7);
    EXPECT_EQ(invertLevel(-1), -1);
}

TEST(ResetDocument, EmptiesEveryEntryAndRecordsTheGridCounts)
{
    auto cell = std::make_unique<TCell>();
    for (int c = 0; c < kMaxCols; ++c) {
        for (int r = 0; r < kMaxRows; ++r) {
            cell->level[c][r] = 2;
            cell->delay[c][r] = -3;
            cell->cellFlags[c][r] = 0xFF;
        }
        cell->timingLine[c] = 1;
    }
    for (auto& name : cell->signalName) name = "CLK";

    resetChart(*cell, 30, 5);

    auto empty = std::make_unique<TCell>();
    empty->colCount = 30;
    empty->rowCount = 5;
    EXPECT_TRUE(*cell == *empty);
    // The far corner too, beyond any grid count.
    EXPECT_EQ(cell->level[99][99], 0);
    EXPECT_EQ(cell->cellFlags[99][99], 0);
    EXPECT_TRUE(cell->signalName[99].empty());
}

TEST(TCellCopy, SharesNothingWithItsSource)
{
    auto source = std::make_unique<TCell>();
    source->signalName[3] = "DATA";
    source->level[5][3] = 1;
    auto copy = std::make_unique<TCell>(*source);

    source->signalName[3] = "ADDR";
    source->level[5][3] = 0;

    EXPECT_EQ(copy->signalName[3], "DATA");
    EXPECT_EQ(copy->level[5][3], 1);
}
