// The board tells the window only about changes a bar can show, and once until it is read.
#include "conversion/ProgressBoard.h"

#include <gtest/gtest.h>

TEST(ProgressBoard, SevenHundredThousandLinesAreToldOnlyAtVisibleSteps)
{
    ProgressBoard board(500);
    int told = 0;
    told += board.SetRange(1, 700000);
    board.Take();
    for (int pos = 0; pos <= 700000; ++pos) {
        if (board.SetPos(pos)) {
            ++told;
            board.Take(); // a window that keeps up reads at once
        }
    }
    // One tell per pixel of a 500-pixel bar, plus the percent steps that fall between pixels.
    EXPECT_GE(told, 500);
    EXPECT_LE(told, 601);
    EXPECT_EQ(board.Take().pos, 700000);
}

TEST(ProgressBoard, TellsOnceUntilTheWindowTakesTheLatestState)
{
    ProgressBoard board(100);
    EXPECT_TRUE(board.SetRange(1, 1001));
    EXPECT_FALSE(board.SetPos(500));
    EXPECT_FALSE(board.SetPos(900));
    EXPECT_FALSE(board.FileDone(1, 3));
    const ProgressSnapshot state = board.Take();
    EXPECT_EQ(state.lower, 1);
    EXPECT_EQ(state.upper, 1001);
    EXPECT_EQ(state.pos, 1001); // a finished file shows its bar full
    EXPECT_EQ(state.filesDone, 1);
    EXPECT_EQ(state.fileCount, 3);
    EXPECT_TRUE(board.FileDone(2, 3));
}

TEST(ProgressBoard, ChangesTooSmallToSeeAreNotTold)
{
    ProgressBoard board(100);
    board.SetRange(0, 100000);
    board.Take();
    EXPECT_FALSE(board.SetPos(5)); // 0.005 %: neither a pixel nor a percent
    EXPECT_FALSE(board.SetPos(999));
    EXPECT_TRUE(board.SetPos(1000));
    EXPECT_EQ(board.Take().pos, 1000);
}

TEST(ProgressBoard, AnEmptyRangeShowsNothingWhateverThePosition)
{
    ProgressBoard board(100);
    board.SetRange(5, 5);
    board.Take();
    EXPECT_FALSE(board.SetPos(1));
    EXPECT_FALSE(board.SetPos(1000000));
}
