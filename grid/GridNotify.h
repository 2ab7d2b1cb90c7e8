#pragma once
// The records the grid hands to its owner's NotifyHandler (see CGridCtrl::SetNotifyHandler), and
// the end-of-edit record its in-place editor hands to the grid. The owner casts the NMHDR it
// receives to GridNotify; a negative answer to BeginEdit or EndEdit vetoes the edit.
#include "grid/GridItem.h"
#include "platform/NotifyRecord.h"

struct GridNotify : NMHDR {
    static constexpr int SelectionChanging = -100;
    static constexpr int SelectionChanged = -101;
    static constexpr int BeginEdit = -105;
    static constexpr int EndEdit = -106;

    int iRow = -1;
    int iColumn = -1;
};

// Sent by CGridCellEdit when its edit ends: the edited cell, its text and, as data, the key that
// ended the edit (0 when the edit ended by losing the focus).
struct GridDispInfo : NMHDR {
    GridItem item;
};
