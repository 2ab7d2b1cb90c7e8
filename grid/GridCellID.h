#pragma once
// A cell's address. (-1, -1) means no cell; whether an address lies inside a grid is the grid's
// question (CGridCtrl::IsValid).
struct CellID {
    int row = -1;
    int col = -1;

    friend bool operator==(const CellID&, const CellID&) = default;
};
